#include "core/mdlSteps.h"

#include "core/clsError.h"

namespace mdlSteps {

void Ignoring(const std::function<void()>& oStatement) {
    try {
        oStatement();
    } catch (const clsError&) {
        // Skipped, as the sequence asks.
    }
}

} // namespace mdlSteps

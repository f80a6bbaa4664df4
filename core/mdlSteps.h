#pragma once

#include <functional>

// Sequences whose failing statements are skipped one by one: a failed step
// leaves what it would have changed as it was, and the next one runs.
namespace mdlSteps {

// Runs oStatement; a failure it raises goes no further.
void Ignoring(const std::function<void()>& oStatement);

} // namespace mdlSteps

#pragma once

#include "core/clsError.h"

#include <QString>

#include <functional>

// What a call raised, in the one form every test compares.
namespace mdlRaised {

// "code source: description" of the error oCall raised; empty when it raised none.
inline QString Text(const std::function<void()>& oCall) {
    try {
        oCall();
    } catch (const clsError& oError) {
        return QStringLiteral("%1 %2: %3")
            .arg(oError.Code())
            .arg(oError.Source(), oError.Description());
    }
    return {};
}

} // namespace mdlRaised

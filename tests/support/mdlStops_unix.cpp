#include "tests/support/mdlStops.h"

#include <csignal>

namespace {

template <int iSignal> bool Send(const QProcess& oProgram) {
    return oProgram.processId() > 0 && ::kill(pid_t(oProgram.processId()), iSignal) == 0;
}

} // namespace

namespace mdlStops {

QList<Stop> All() {
    return {{"SIGINT", &Send<SIGINT>}, {"SIGTERM", &Send<SIGTERM>}};
}

void Prepare(QProcess& /*oProgram*/) {}

} // namespace mdlStops

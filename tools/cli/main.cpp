#include "tools/cli/mdlInspect.h"
#include "tools/cli/mdlPorts.h"

#include <QCoreApplication>

#include <cstdio>

// The headless face of the engine: one verb per job. The verbs take the
// arguments as the system gave them, so that a path is checked before it
// becomes text.
int main(int argc, char* argv[]) {
    const QCoreApplication oQtApplication(argc, argv);
    QByteArrayList aArguments;
    for (int i = 1; i < argc; ++i) {
        aArguments << QByteArray(argv[i]);
    }
    const QByteArray aVerb = aArguments.isEmpty() ? QByteArray() : aArguments.takeFirst();
    if (aVerb == "inspect") {
        return mdlInspect::Run(aArguments);
    }
    if (aVerb == "ports") {
        return mdlPorts::Run(aArguments);
    }
    std::fputs("usage: tessivar-cli VERB ...\nverbs:\n"
               "  inspect [--json] FILE   prepare FILE as Run does and summarise the upload\n"
               "  ports [--json]          the device each port number stands for, and the\n"
               "                          serial devices found\n"
               "  ports --bind N DEVICE   let port number N stand for DEVICE\n"
               "  ports --unbind N        let port number N stand for no device\n",
               stderr);
    return 2;
}

#include "tools/cli/mdlInspect.h"

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
    std::fputs("usage: tessivar-cli VERB ...\nverbs:\n  inspect [--json] FILE   prepare FILE as "
               "Run does and summarise the upload\n",
               stderr);
    return 2;
}

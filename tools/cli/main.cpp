#include "tools/cli/mdlInspect.h"

#include <QCoreApplication>

#include <cstdio>

// The headless face of the engine: one verb per job.
int main(int argc, char* argv[]) {
    const QCoreApplication oQtApplication(argc, argv);
    QStringList asArguments = QCoreApplication::arguments().mid(1);
    const QString sVerb = asArguments.isEmpty() ? QString() : asArguments.takeFirst();
    if (sVerb == QLatin1String("inspect")) {
        return mdlInspect::Run(asArguments);
    }
    std::fputs("usage: tessivar-cli VERB ...\nverbs:\n  inspect [--json] FILE   prepare FILE as "
               "Run does and summarise the upload\n",
               stderr);
    return 2;
}

#include "platform/mdlArguments.h"

#include <QCoreApplication>

namespace mdlArguments {

// Qt reads them from the command line's UTF-16 text, not from argv.
QByteArrayList Given(int /*argc*/, char* /*argv*/[]) {
    QByteArrayList aArguments;
    for (const QString& sArgument : QCoreApplication::arguments().mid(1)) {
        aArguments << sArgument.toUtf8();
    }
    return aArguments;
}

QString Text(const QByteArray& aArgument) {
    return QString::fromUtf8(aArgument);
}

QByteArray Bytes(const QString& sText) {
    return sText.toUtf8();
}

} // namespace mdlArguments

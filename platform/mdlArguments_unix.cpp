#include "platform/mdlArguments.h"

#include <QFile>

namespace mdlArguments {

QByteArrayList Given(int argc, char* argv[]) {
    QByteArrayList aArguments;
    for (int i = 1; i < argc; ++i) {
        aArguments << QByteArray(argv[i]);
    }
    return aArguments;
}

QString Text(const QByteArray& aArgument) {
    return QFile::decodeName(aArgument);
}

QByteArray Bytes(const QString& sText) {
    return QFile::encodeName(sText);
}

} // namespace mdlArguments

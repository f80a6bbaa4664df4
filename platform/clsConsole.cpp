#include "platform/clsConsole.h"

#include "platform/mdlStandardStreams.h"

#include <QJsonDocument>

#include <cstdio>

void clsConsole::Out(const QString& sText) {
    Write(stdout, sText);
}

void clsConsole::Err(const QString& sText) {
    Write(stderr, sText);
}

void clsConsole::OutJson(const QJsonObject& oObject) {
    Out(QString::fromUtf8(QJsonDocument(oObject).toJson(QJsonDocument::Compact)) +
        QLatin1Char('\n'));
}

void clsConsole::Write(std::FILE* oStream, const QString& sText) {
    QString sLines = sText;
    sLines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (const std::optional<bool> oShown = mdlStandardStreams::ToConsole(oStream, sLines)) {
        bLost = bLost || !*oShown;
        return;
    }
    const QByteArray aBytes = sLines.toUtf8();
    // Flushed at once: the status log is read as it grows, and a write
    // that fails must be known before the exit status is.
    if (std::fwrite(aBytes.constData(), 1, size_t(aBytes.size()), oStream) !=
            size_t(aBytes.size()) ||
        std::fflush(oStream) != 0) {
        bLost = true;
    }
}

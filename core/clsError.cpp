#include "core/clsError.h"

#include <utility>

namespace {
// Application-defined codes occupy the low 16 bits above the base.
constexpr qint64 lLastObjectError = static_cast<qint64>(clsError::lObjectErrorBase) + 0xFFFF;
} // namespace

clsError::clsError(qint32 lNewNumber, QString sNewSource, QString sNewDescription)
    : lNumber(lNewNumber), sSource(std::move(sNewSource)),
      sDescription(std::move(sNewDescription)) {
    sWhat = QStringLiteral("%1 (%2): %3").arg(Code()).arg(sSource, sDescription).toStdString();
}

clsError clsError::FromCode(qint32 lCode, QString sNewSource, QString sNewDescription) {
    return clsError(lObjectErrorBase + lCode, std::move(sNewSource), std::move(sNewDescription));
}

clsError& clsError::AtLine(qint32 lNewLine) {
    lLine = lNewLine;
    return *this;
}

clsError& clsError::InFile(const QString& sNewPath, const QString& sNewWhy) {
    sPath = sNewPath;
    sWhy = sNewWhy;
    return *this;
}

qint32 clsError::Code() const {
    if (lNumber >= lObjectErrorBase && lNumber <= lLastObjectError) {
        return lNumber - lObjectErrorBase;
    }
    return lNumber;
}

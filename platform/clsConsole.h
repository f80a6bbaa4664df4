#pragma once

#include <QJsonObject>
#include <QString>

#include <cstdio>

// Standard output and standard error of a console program. Every write
// is checked: a full disk or a closed pipe must not pass for a result.
class clsConsole {
public:
    void Out(const QString& sText);
    void Err(const QString& sText);
    // oObject as one line of JSON.
    void OutJson(const QJsonObject& oObject);
    // True once a write to either stream failed.
    bool Lost() const { return bLost; }

private:
    void Write(std::FILE* oStream, const QString& sText);

    bool bLost = false;
};

#pragma once

#include <QString>

#include <exception>
#include <string>

// A failure as the program reports it: a 32-bit number, the source that
// raised it and a description. Application-defined errors carry the
// object-error base plus their code; platform errors keep their own numbers.
class clsError : public std::exception {
public:
    static constexpr qint32 lObjectErrorBase = static_cast<qint32>(0x80040000);

    clsError(qint32 lNewNumber, QString sNewSource, QString sNewDescription);

    // An application-defined error: the object-error base plus lCode.
    static clsError FromCode(qint32 lCode, QString sNewSource = {}, QString sNewDescription = {});

    qint32 Number() const { return lNumber; }
    const QString& Source() const { return sSource; }
    const QString& Description() const { return sDescription; }

    // The number as the window shows it: the code for application-defined
    // errors, the number itself for everything else.
    qint32 Code() const;

    const char* what() const noexcept override { return sWhat.c_str(); }

    // Where the failure was met, for a reader at a terminal: the line of the
    // file (0 when none) and the file's path with why it could not be used.
    // The window's boxes word errors without them.
    qint32 Line() const { return lLine; }
    const QString& Path() const { return sPath; }
    const QString& Why() const { return sWhy; }
    clsError& AtLine(qint32 lNewLine);
    clsError& InFile(const QString& sNewPath, const QString& sNewWhy = {});

private:
    qint32 lNumber;
    QString sSource;
    QString sDescription;
    std::string sWhat;
    qint32 lLine = 0;
    QString sPath;
    QString sWhy;
};

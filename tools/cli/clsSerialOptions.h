#pragma once

#include "engine/clsSerialField.h"
#include "engine/clsSerialNumbering.h"

#include <QCommandLineParser>
#include <QStringList>

#include <memory>
#include <optional>

// --serial ADDRESS:BYTES[:FIRST] and --serial-store FILE: where each
// board's serial number goes and the counter file it comes from. Whoever
// starts several uploads on one store applies FIRST once (Numbering()'s
// Prepare) and gives each of them ChildArguments().
class clsSerialOptions {
public:
    // bUpload: the upload verb's form, FIRST and the store included;
    // otherwise --serial ADDRESS:BYTES alone.
    explicit clsSerialOptions(bool bNewUpload);

    void AddTo(QCommandLineParser& oParser) const;
    // Takes the options from oParser; what is wrong with them, empty when
    // nothing is.
    QString Take(const QCommandLineParser& oParser);

    // --serial-store, for checking its values as the system gave them.
    const QCommandLineOption& StoreOption() const { return oStore; }
    const std::optional<clsSerialField>& Field() const { return oField; }
    // The numbers for the boards, from the store; none without --serial.
    std::unique_ptr<clsSerialNumbering> Numbering() const;
    // --serial and --serial-store as an upload started by this one takes
    // them: the field and the store's absolute path, without FIRST.
    QStringList ChildArguments() const;

private:
    QString TakeField(const QString& sValue);

    bool bUpload;
    QCommandLineOption oSerial;
    QCommandLineOption oStore;
    std::optional<clsSerialField> oField;
    std::optional<qint64> oFirst;
    QString sStore;
};

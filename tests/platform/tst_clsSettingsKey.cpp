#include "core/clsError.h"
#include "platform/clsJRT_Registry.h"
#include "platform/clsRegistryHives.h"
#include "tests/support/clsPrivateRegistry.h"
#include "tests/support/mdlRows.h"

#include <QSettings>
#include <QTest>

#include <functional>

// The Windows store on behalf of a user who may or may not write the
// machine's key: keys of the test's own stand for both hives.
namespace {

using R = clsJRT_Registry;

const QString sBase = QStringLiteral("SOFTWARE\\Quellis\\Tessivar\\2.6.0");

// The program's key in the hive sHive.
QString Base(const QString& sHive) {
    return sHive + u'\\' + sBase;
}

// The hive's program key, as its values "Key/Name=value" (a number for a
// REG_DWORD value).
void Fill(const QString& sHive, const QStringList& asValues) {
    QSettings oHive(Base(sHive), QSettings::NativeFormat);
    for (const QString& sValue : asValues) {
        const QString sData = sValue.section(u'=', 1);
        bool bNumber = false;
        const int iNumber = sData.toInt(&bNumber);
        oHive.setValue(sValue.section(u'=', 0, 0), bNumber ? QVariant(iNumber) : QVariant(sData));
    }
}

// The keys of the hive with their values, as "Key{Name=value,...}".
QString Dump(const QString& sHive) {
    QSettings oHive(Base(sHive), QSettings::NativeFormat);
    QStringList asKeys;
    for (const QString& sKey : oHive.childGroups()) {
        oHive.beginGroup(sKey);
        QStringList asValues;
        for (const QString& sName : oHive.childKeys()) {
            asValues << sName + u'=' + oHive.value(sName).toString();
        }
        oHive.endGroup();
        asKeys << sKey + u'{' + asValues.join(u',') + u'}';
    }
    return asKeys.join(u' ');
}

// As the program opens a key: the disposition, then the value sName read
// as rtType ("-" where there is none); then aSet is saved.
QString Use(const char* sKey, const char* sName, qint32 rtType, const QVariantMap& aSet = {}) {
    R oKey;
    oKey.SetSubKey(sBase + u'\\' + sKey);
    oKey.SetAutoCreate(true);
    QString sUsed = QString::number(oKey.OpenKey()) + u' ';
    try {
        sUsed += oKey.Value(sName, rtType).toString();
    } catch (const clsError&) {
        sUsed += u'-';
    }
    for (auto it = aSet.cbegin(); it != aSet.cend(); ++it) {
        oKey.SetValue(it.key(), it.value().typeId() == QMetaType::Int ? R::RegDword : R::RegSz,
                      it.value());
    }
    oKey.CloseKey();
    return sUsed;
}

QString CommsSaved() {
    return Use("Comms", "PortNumber", R::RegDword, {{"Handshaking", 0}});
}

struct HiveRow {
    const char* sName;
    bool bMayWriteMachine;
    QStringList asMachine, asUser;
    std::function<QString()> oUse;
    // What oUse returned, then the two hives after it.
    QString sOutcome;
};

} // namespace

class tst_clsSettingsKey : public QObject {
    Q_OBJECT

    clsPrivateRegistry oRegistry;
    const clsRegistryHives oHives = clsRegistryHives::Current();

private slots:
    void cleanup() {
        QSettings(Base(oHives.sMachine), QSettings::NativeFormat).remove("");
        QSettings(Base(oHives.sUser), QSettings::NativeFormat).remove("");
    }

    void hives_data() {
        // clang-format off
        mdlRows::Add<HiveRow>({
            {"machine's key writable: used", true, {"Comms/PortNumber=7"}, {}, CommsSaved,
             "2 7 | machine: Comms{Handshaking=0,PortNumber=7} | user: "},
            {"machine's key read-only: read, the user's made whole at the save", false,
             {"Comms/PortNumber=7", "Comms/BaudRate=9600"}, {}, CommsSaved,
             "2 7 | machine: Comms{BaudRate=9600,PortNumber=7} | "
             "user: Comms{BaudRate=9600,Handshaking=0,PortNumber=7}"},
            {"user's key present: the machine's values not read", false,
             {"Comms/PortNumber=7", "Comms/BaudRate=9600"}, {"Comms/PortNumber=3"},
             [] { return Use("Comms", "BaudRate", R::RegDword, {{"Handshaking", 0}}); },
             "2 - | machine: Comms{BaudRate=9600,PortNumber=7} | "
             "user: Comms{Handshaking=0,PortNumber=3}"},
            {"Comms the user's, Recent Files the machine's", false,
             {"Comms/PortNumber=7", "Recent Files/1=m.s19"}, {"Comms/PortNumber=3"},
             [] {
                 const QString sComms = CommsSaved();
                 return sComms + ", " + Use("Recent Files", "1", R::RegSz, {{"2", "n.s19"}});
             },
             "2 3, 2 m.s19 | machine: Comms{PortNumber=7} Recent Files{1=m.s19} | "
             "user: Comms{Handshaking=0,PortNumber=3} Recent Files{1=m.s19,2=n.s19}"},
            {"no key in either: new, made under the user's", false, {}, {},
             [] {
                 const QString sFirst = Use("Comms", "PortNumber", R::RegDword);
                 return sFirst + ", " + CommsSaved();
             },
             "1 -, 2 - | machine:  | user: Comms{Handshaking=0}"},
            {"a second copy's save after the first made the user's key", false,
             {"Comms/PortNumber=7"}, {},
             [] {
                 R oFirst;
                 oFirst.SetSubKey(sBase + "\\Comms");
                 oFirst.OpenKey();
                 const QString sSecond = Use("Comms", "PortNumber", R::RegDword,
                                             {{"PortNumber", 3}});
                 oFirst.SetValue("Handshaking", R::RegDword, 0);
                 oFirst.CloseKey();
                 return sSecond;
             },
             "2 7 | machine: Comms{PortNumber=7} | user: Comms{Handshaking=0,PortNumber=3}"},
        });
        // clang-format on
    }

    void hives() {
        QFETCH(HiveRow, oRow);
        Fill(oHives.sMachine, oRow.asMachine);
        Fill(oHives.sUser, oRow.asUser);
        clsRegistryHives oRowHives = oHives;
        oRowHives.oMayWriteMachine = [&](const QString&) { return oRow.bMayWriteMachine; };
        clsRegistryHives::Use(oRowHives);
        QString sOutcome;
        try {
            sOutcome = oRow.oUse();
        } catch (const clsError& oError) {
            sOutcome = QString::number(oError.Code()) + u' ' + oError.Description();
        }
        clsRegistryHives::Use(oHives);
        QCOMPARE(sOutcome + " | machine: " + Dump(oHives.sMachine) +
                     " | user: " + Dump(oHives.sUser),
                 oRow.sOutcome);
    }
};

QTEST_GUILESS_MAIN(tst_clsSettingsKey)
#include "tst_clsSettingsKey.moc"

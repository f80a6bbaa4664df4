#include "platform/mdlSettingsFile.h"

#include "platform/clsJRT_Registry.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using R = clsJRT_Registry;

// The file that this process saved last and has not yet checked.
QString sUnchecked;

QString BackupOf(const QString& sPath) {
    return sPath + QStringLiteral(".bak");
}

QByteArray Hex(uchar yByte) {
    return QByteArray::number(yByte, 16).rightJustified(2, '0');
}

bool IsControl(uchar yByte) {
    return yByte < 0x20 || yByte == 0x7F;
}

// The last line of a whole file: the count of the bytes before it.
QByteArray EndMark(qsizetype lCount) {
    return "; " + QByteArray::number(lCount) + " bytes\n";
}

bool IsWhole(QByteArrayView aText) {
    if (!aText.endsWith('\n')) {
        return false;
    }
    const qsizetype lLastLine = aText.first(aText.size() - 1).lastIndexOf('\n') + 1;
    return aText.sliced(lLastLine) == EndMark(lLastLine);
}

QByteArray Quoted(const QString& sText) {
    QByteArray aQuoted = "\"";
    for (const char yByte : sText.toUtf8()) {
        if (yByte == '"' || yByte == '\\') {
            aQuoted += '\\';
            aQuoted += yByte;
        } else if (IsControl(uchar(yByte))) {
            aQuoted += "\\x" + Hex(uchar(yByte));
        } else {
            aQuoted += yByte;
        }
    }
    return aQuoted + '"';
}

// The text between the quotes of sValue; nothing when it is not one quoted text.
std::optional<QString> Unquoted(const QString& sValue) {
    static const QRegularExpression oQuoted(
        QStringLiteral(R"(^"(?:[^"\\]++|\\["\\]|\\x[0-9A-Fa-f]{2})*+"$)"));
    if (!oQuoted.match(sValue).hasMatch()) {
        return std::nullopt;
    }
    QString sText;
    for (qsizetype i = 1; i < sValue.size() - 1; ++i) {
        if (sValue.at(i) == u'\\' && sValue.at(++i) == u'x') {
            sText += QChar(sValue.mid(i + 1, 2).toUShort(nullptr, 16));
            i += 2;
        } else {
            sText += sValue.at(i);
        }
    }
    return sText;
}

// A value as the file holds it: a QString, a qint32 or, for a quoted text
// it cannot read, nothing. A text a person wrote by hand without quotes is
// kept as written.
QVariant ValueOf(const QString& sWritten) {
    const QString sValue = sWritten.trimmed();
    if (const std::optional<QString> sText = Unquoted(sValue)) {
        return *sText;
    }
    bool bNumber = false;
    const qint32 lNumber = sValue.toInt(&bNumber);
    if (bNumber) {
        return lNumber;
    }
    return sValue.startsWith(u'"') ? QVariant() : QVariant(sValue);
}

// Takes one line into oMap, or leaves it out.
void ReadLine(QByteArrayView aLine, QString& sSection, QSettings::SettingsMap& oMap) {
    QStringDecoder oUtf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString sLine = oUtf8.decode(aLine);
    if (oUtf8.hasError() || sLine.startsWith(u';')) {
        return;
    }
    if (sLine.endsWith(u'\r')) {
        sLine.chop(1);
    }
    if (sLine.size() > 2 && sLine.startsWith(u'[') && sLine.endsWith(u']')) {
        sSection = sLine.sliced(1, sLine.size() - 2);
        oMap.insert(sSection, QVariant());
        return;
    }
    const qsizetype lEquals = sLine.indexOf(u'=');
    const QVariant vValue = lEquals > 0 ? ValueOf(sLine.sliced(lEquals + 1)) : QVariant();
    if (!sSection.isEmpty() && vValue.isValid()) {
        oMap.insert(sSection + u'/' + sLine.first(lEquals), vValue);
    }
}

// Only whole lines count: a line that the end of the file cuts is left out.
bool ReadSettings(QIODevice& oDevice, QSettings::SettingsMap& oMap) {
    const QByteArray aText = oDevice.readAll();
    QString sSection;
    qsizetype lEnd = 0;
    for (qsizetype lStart = 0; (lEnd = aText.indexOf('\n', lStart)) >= 0; lStart = lEnd + 1) {
        ReadLine(QByteArrayView(aText).sliced(lStart, lEnd - lStart), sSection, oMap);
    }
    return true;
}

// A section a key, a line a value; a key's own entry is the key without a
// value name and stands for the section alone.
QByteArray Text(const QSettings::SettingsMap& oMap) {
    QMap<QString, QByteArray> aSections;
    for (auto it = oMap.cbegin(); it != oMap.cend(); ++it) {
        const qsizetype lSlash = it.key().indexOf(u'/');
        QByteArray& aLines = aSections[lSlash < 0 ? it.key() : it.key().first(lSlash)];
        if (lSlash >= 0) {
            aLines +=
                it.key().sliced(lSlash + 1).toUtf8() + '=' +
                (it.value().typeId() == QMetaType::Int ? QByteArray::number(it.value().toInt())
                                                       : Quoted(it.value().toString())) +
                '\n';
        }
    }
    QByteArray aText;
    for (auto it = aSections.cbegin(); it != aSections.cend(); ++it) {
        aText += '[' + it.key().toUtf8() + "]\n" + it.value() + '\n';
    }
    return aText + EndMark(aText.size());
}

// Runs under QSettings' lock, before it puts the new file in place: the file
// in place now stays under a second name (a hard link costs no space) until
// the save has been checked. Without an earlier file there is nothing to
// keep. The new file replaces the target of a symbolic link, and so does the
// earlier one when it goes back.
bool WriteSettings(QIODevice& oDevice, const QSettings::SettingsMap& oMap) {
    const QString sFile = qobject_cast<QFileDevice*>(&oDevice)->fileName();
    const QString sTarget = QFileInfo(sFile).canonicalFilePath();
    sUnchecked = sTarget.isEmpty() ? sFile : sTarget;
    const QByteArray aPath = QFile::encodeName(sUnchecked);
    const QByteArray aBackup = QFile::encodeName(BackupOf(sUnchecked));
    ::unlink(aBackup.constData());
    ::link(aPath.constData(), aBackup.constData());
    const QByteArray aText = Text(oMap);
    return oDevice.write(aText) == aText.size();
}

QSettings::Format Format() {
    static const QSettings::Format iFormat = QSettings::registerFormat(
        QStringLiteral("ini"), ReadSettings, WriteSettings, Qt::CaseSensitive);
    return iFormat;
}

// QSettings can put a short file in place and report no error (a write
// that fails while the file is closed goes unseen): what the last save left
// must end with its mark, or the file from before it goes back.
bool KeepWhole() {
    const QString sPath = std::exchange(sUnchecked, QString());
    if (sPath.isEmpty()) {
        return true;
    }
    QFile oFile(sPath);
    const bool bWhole = oFile.open(QIODevice::ReadOnly) && IsWhole(oFile.readAll());
    const QByteArray aBackup = QFile::encodeName(BackupOf(sPath));
    if (bWhole) {
        ::unlink(aBackup.constData());
    } else {
        std::rename(aBackup.constData(), QFile::encodeName(sPath).constData());
    }
    return bWhole;
}

// How long opening waits for a save of another copy; a save takes
// milliseconds.
constexpr int lOpenWaitMs = 5000;

// How long an empty lock file must stay empty before it counts as a dead
// copy's: a live copy fills its own within microseconds.
constexpr qint64 lDeadLockAgeMs = 1000;

qint64 AgeMs(const struct stat& oFile) {
    timespec oNow{};
    ::clock_gettime(CLOCK_REALTIME, &oNow);
    return (oNow.tv_sec - oFile.st_mtim.tv_sec) * 1000 +
           (oNow.tv_nsec - oFile.st_mtim.tv_nsec) / 1'000'000;
}

bool IsSameFile(const QByteArray& aPath, const struct stat& oOpened) {
    struct stat oNamed {};
    return ::stat(aPath.constData(), &oNamed) == 0 && oNamed.st_ino == oOpened.st_ino &&
           oNamed.st_dev == oOpened.st_dev;
}

// A copy killed while it took QSettings' lock leaves the lock file empty, and
// QSettings waits 30 s before it takes an empty one for stale. Only such a
// file is removed, once it has stayed empty for a while and nobody holds it:
// a live copy lets go of its full lock file before it deletes it, and taking
// that one in the gap would let its delete remove the lock of the next copy,
// and two copies would save at once.
void ClearDeadLock(const QString& sPath) {
    const QByteArray aLock = QFile::encodeName(sPath + QStringLiteral(".lock"));
    for (const QDeadlineTimer oDeadline(2 * lDeadLockAgeMs); !oDeadline.hasExpired();) {
        const int iFile = ::open(aLock.constData(), O_RDONLY | O_CLOEXEC);
        if (iFile < 0) {
            return;
        }
        struct stat oOpened {};
        const bool bEmpty = ::fstat(iFile, &oOpened) == 0 && oOpened.st_size == 0;
        const bool bDead = bEmpty && AgeMs(oOpened) >= lDeadLockAgeMs;
        if (bDead && ::flock(iFile, LOCK_EX | LOCK_NB) == 0 && IsSameFile(aLock, oOpened)) {
            ::unlink(aLock.constData());
        }
        ::close(iFile);
        if (!bEmpty || bDead) {
            return;
        }
        QThread::msleep(50);
    }
}

qint32 OpenFile(const QString& sPath, std::unique_ptr<QSettings>& oStore) {
    const QString sFolder = QFileInfo(sPath).path();
    if (!QDir().mkpath(sFolder)) {
        return R::ResultNoParent;
    }
    // QSettings would wait for ever to read a FIFO and fail on a folder.
    const QFileInfo oFile(sPath);
    if (oFile.exists() && !oFile.isFile()) {
        return R::ResultAccessDenied;
    }
    // QSettings reads the file when it opens it, and a save later takes
    // what it read for the file in place when size and time still match; a
    // save by another copy while it reads could match, and its values would
    // be lost. Saves hold the lock, so reading under it reads one file. A
    // copy that holds it for long (stopped while it saved) must not hold up
    // the start: past the wait, the file is read as it stands.
    ClearDeadLock(sPath);
    QLockFile oLock(sPath + QStringLiteral(".lock"));
    if (!oLock.tryLock(lOpenWaitMs) && oLock.error() != QLockFile::LockFailedError) {
        return R::ResultAccessDenied;
    }
    oStore = std::make_unique<QSettings>(sPath, Format());
    oLock.unlock();
    const bool bWritable = oStore->isWritable() && QFileInfo(sFolder).isWritable();
    return bWritable ? R::ResultSuccess : R::ResultAccessDenied;
}

// Names as the file and the store's keys write them: "%" and what would end
// a name, a line or a key there as %XX; the empty name as "@".
QString Name(const QString& sName) {
    if (sName.isEmpty()) {
        return QStringLiteral("@");
    }
    QByteArray aName;
    for (const char yByte : sName.toUtf8()) {
        if (IsControl(uchar(yByte)) || std::strchr("%/\\=[];\"@", yByte) != nullptr) {
            aName += '%' + Hex(uchar(yByte)).toUpper();
        } else {
            aName += yByte;
        }
    }
    return QString::fromUtf8(aName);
}

// A key exists when it or a key below it has an entry.
bool KeyExists(const QSettings& oStore, const QString& sGroup) {
    const QStringList asKeys = oStore.allKeys();
    return std::any_of(asKeys.cbegin(), asKeys.cend(), [&](const QString& sKey) {
        return sKey == sGroup || sKey.startsWith(sGroup + u'/') || sKey.startsWith(sGroup + u'\\');
    });
}

} // namespace

namespace mdlSettingsFile {

qint32 OpenStore(const QString& sPath, const QStringList& asKey, bool bCreate,
                 std::unique_ptr<QSettings>& oStore, qint32& lDisposition) {
    const qint32 lResult = OpenFile(sPath, oStore);
    if (lResult != R::ResultSuccess) {
        return lResult;
    }
    QString sGroup = asKey.first();
    for (const QString& sName : asKey.sliced(1)) {
        sGroup += u'\\' + Name(sName);
    }
    const bool bExisted = KeyExists(*oStore, sGroup);
    if (!bExisted && !bCreate) {
        return R::ResultNotFound;
    }
    if (!bExisted) {
        oStore->setValue(sGroup, QVariant());
    }
    oStore->beginGroup(sGroup);
    lDisposition = bExisted ? R::OpenedExistingKey : R::CreatedNewKey;
    return R::ResultSuccess;
}

QString StoreKey(const QString& sValueName) {
    return Name(sValueName);
}

qint32 SaveStore(QSettings& oStore) {
    ClearDeadLock(oStore.fileName());
    oStore.sync();
    const bool bWhole = KeepWhole();
    if (oStore.status() != QSettings::NoError) {
        return R::ResultAccessDenied;
    }
    return bWhole ? R::ResultSuccess : R::ResultDiskFull;
}

} // namespace mdlSettingsFile

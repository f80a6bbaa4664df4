#include "resources/mdlResources.h"

#include <algorithm>
#include <iterator>

namespace {

struct StringEntry {
    int iID;
    const char* sText; // UTF-8
};

// Sorted by number, so a lookup is a binary search.
constexpr StringEntry aStringTable[] = {
    {5, "OK"},
    {6, "&System Info..."},
    {8, "MSINFO32 failed to start."},
    {10, "Tessivar"},
    {15, "Version"},
    {20, "Copyright \u00A9 2005 Quellis. All rights reserved."},
    {25, "Build Date:"},
    {30, "Warning: this program is protected by copyright law. Copying or distributing it, "
         "in whole or in part, without the written permission of Quellis is prohibited."},
    {101, "&File"},
    {102, "&Open..."},
    {103, "E&xit"},
    {104, "&Help"},
    {105, "Help &Topics"},
    {106, "&About Tessivar..."},
    {107, "&Comm Port Number"},
    {108, "&Application Data File"},
    {109, "&Browse..."},
    {110, "&Run"},
    {111, "&Stop"},
    {112, "Open File"},
    {113, "'S' Record Files (*.s37; *.s19)|*.s37;*.s19|All Files (*.*)|*.*"},
    {114, "R&eset"},
    {200, "Application file opened"},
    {201, "Command file opened"},
    {202, "Application file closed"},
    {203, "Command file closed"},
    {204, "Target ID:"},
    {205, "Reading 'S' records"},
    {206, "Flash image created"},
    {207, "Target board is ready to receive."},
    {208, "Memory image initialized"},
    {209, "Erasing sectors"},
    {210, "Uploading data records"},
    {211, "Uploading error - No records transferred."},
    {212, "Upload Complete"},
    {213, "records transferred."},
    {214, "No response from board."},
    {275, "WARNING: Uploading records may overwrite existing data."},
    {276, "Select OK to continue download, CANCEL to abort."},
    {277, "Reset the controller by removing and reapplying power to the circuit board."},
    {300, "Comms"},
    {301, "PortNumber"},
    {302, "BaudRate"},
    {303, "StopBits"},
    {304, "DataBits"},
    {305, "Handshaking"},
    {306, "Recent Files"},
    {310, "opened"},
    {311, "closed"},
    {500, "Error Number: "},
    {501, "Unable to determine command file name."},
    {502, "Check that the record file name is valid."},
    {503, "Application file may be corrupt."},
    {504, "Flash chip programming error."},
    {505, "Maximum number of resends requested."},
    {506, "Application not designed for this target board."},
    {507, "Line in application file is not an 'S' record."},
    {508, "Line in application file has a checksum error."},
    {509, "Application & command file do not agree."},
    {510, "Unable to establish comms with target."},
    {511, "Unable to open application file."},
    {512, "Unable to determine expected target ID."},
    {513, "Unknown response from board - Upload Terminated"},
    {514, "An unknown error occurred during the upload."},
    {520, "Upload terminated."},
    {521, "Help not available"},
};

static_assert(std::ranges::is_sorted(aStringTable, {}, &StringEntry::iID));

} // namespace

namespace mdlResources {

QString LoadResString(eRes iID) {
    const int iNumber = static_cast<int>(iID);
    const auto oEntry = std::ranges::lower_bound(aStringTable, iNumber, {}, &StringEntry::iID);
    if (oEntry == std::end(aStringTable) || oEntry->iID != iNumber) {
        return {};
    }
    return QString::fromUtf8(oEntry->sText);
}

QString Title() {
    return QStringLiteral(TESSIVAR_TITLE);
}
QString WindowTitle() {
    return QStringLiteral("Orvane ") + LoadResString(eRes::ProgramName);
}
int VersionMajor() {
    return TESSIVAR_VERSION_MAJOR;
}
int VersionMinor() {
    return TESSIVAR_VERSION_MINOR;
}
int VersionRevision() {
    return TESSIVAR_VERSION_PATCH;
}
QString SettingsKeyPath() {
    return QStringLiteral("SOFTWARE\\Quellis\\%1\\%2.%3.%4\\")
        .arg(Title())
        .arg(VersionMajor())
        .arg(VersionMinor())
        .arg(VersionRevision());
}
QString Comments() {
    return QStringLiteral("27 January 2005");
}
QString HelpFileName() {
    return QStringLiteral("index.html");
}

QString IconPath(const QString& sIconName) {
    return QStringLiteral(":/icons/%1." TESSIVAR_ICON_FORMAT).arg(sIconName);
}

} // namespace mdlResources

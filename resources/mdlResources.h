#pragma once

#include <QString>

// The string table's entries by name; the numbers are the table's own.
enum class eRes : int {
    OK = 5,
    SystemInfo = 6,
    SystemInfoFailed = 8,
    ProgramName = 10,
    Version = 15,
    Copyright = 20,
    BuildDate = 25,
    Disclaimer = 30,
    FileMenu = 101,
    FileOpen = 102,
    FileExit = 103,
    HelpMenu = 104,
    HelpTopics = 105,
    HelpAbout = 106,
    CommPortNumber = 107,
    AppDataFile = 108,
    Browse = 109,
    Run = 110,
    Stop = 111,
    OpenFile = 112,
    FileFilter = 113,
    Reset = 114,
    AppFileOpened = 200,
    CmdFileOpened = 201,
    AppFileClosed = 202,
    CmdFileClosed = 203,
    TargetID = 204,
    ReadingRecords = 205,
    ImageCreated = 206,
    TargetReady = 207,
    ImageInitialized = 208,
    ErasingSectors = 209,
    UploadingRecords = 210,
    NoRecordsTransferred = 211,
    UploadComplete = 212,
    RecordsTransferred = 213,
    NoResponse = 214,
    OverwriteWarning = 275,
    OverwriteQuestion = 276,
    ResetPrompt = 277,
    CommsKey = 300,
    PortNumberValue = 301,
    BaudRateValue = 302,
    StopBitsValue = 303,
    DataBitsValue = 304,
    HandshakingValue = 305,
    RecentFilesKey = 306,
    Opened = 310,
    Closed = 311,
    ErrorNumber = 500,
    NoCommandFileName = 501,
    CheckRecordFileName = 502,
    MayBeCorrupt = 503,
    ProgrammingError = 504,
    ResendLimit = 505,
    WrongTarget = 506,
    NotAnSRecord = 507,
    CheckSumError = 508,
    FilesDisagree = 509,
    NoComms = 510,
    AppFileUnopened = 511,
    NoTargetID = 512,
    UnknownResponse = 513,
    UnknownUploadError = 514,
    UploadTerminated = 520,
    HelpNotAvailable = 521,
};

// The program's fixed resources: the string table, the icons and the
// executable's title, version, comments and help-file name.
namespace mdlResources {

// The string-table entry iID; an empty text for a number the table lacks.
QString LoadResString(eRes iID);

QString Title();
// The caption of the program's own windows: the maker's name and entry 10.
QString WindowTitle();
int VersionMajor();
int VersionMinor();
int VersionRevision();
// The settings store's key of this version: "SOFTWARE\Quellis\" + title
// + "\" + major.minor.revision + "\".
QString SettingsKeyPath();
// The comments text of the executable: its build date.
QString Comments();
QString HelpFileName();

// Resource path of an icon by its name, such as "QUELLIS_ICON".
QString IconPath(const QString& sIconName);

} // namespace mdlResources

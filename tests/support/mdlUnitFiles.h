#pragma once

#include "tests/support/mdlTestFiles.h"

#include <QByteArray>

// A small application for target 22 and its command file, for uploads to
// the board simulator.
namespace mdlUnitFiles {

// Eight bytes at 0x4000 and at 0x8000; the record between them holds only
// the fill value and is never sent.
inline const QByteArray aRecords = "S00600004844521B\r\nS10B4000000102030405060798\r\n"
                                   "S10B6000FFFFFFFFFFFFFFFF9C\r\nS10B80001011121314151617D8\r\n"
                                   "S9030000FC\r\n";
// Sectors 1 and 2 erased, 0 protected.
inline const QByteArray aCommands = "16\r\nFF\r\n0,0,3FFF,R\r\n1,4000,7FFF,E\r\n2,8000,FFFF,E\r\n";

// Both as unit.s19 and unit.cmd in oDir; the application file's path.
inline QString Write(const QDir& oDir) {
    mdlTestFiles::Write(oDir, "unit.cmd", aCommands);
    return mdlTestFiles::Write(oDir, "unit.s19", aRecords);
}

// Other files over both, as a person may change them while an upload waits:
// read again, they would give a board only 0x8000 on, and sector 2 alone.
inline void Change(const QDir& oDir) {
    mdlTestFiles::Write(oDir, "unit.s19", "S10B80001011121314151617D8\r\nS9030000FC\r\n");
    mdlTestFiles::Write(oDir, "unit.cmd", "16\r\nFF\r\n0,0,7FFF,R\r\n2,8000,FFFF,E\r\n");
}

} // namespace mdlUnitFiles

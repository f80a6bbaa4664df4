#include "platform/mdlAccount.h"

#include <iterator>
#include <windows.h>

namespace mdlAccount {

QString UserName() {
    wchar_t asName[256 + 1];
    DWORD lSize = std::size(asName);
    if (::GetUserNameW(asName, &lSize) && lSize > 0) {
        return QString::fromWCharArray(asName, lSize - 1);
    }
    return qEnvironmentVariable("USERNAME");
}

} // namespace mdlAccount

#include "platform/mdlAccount.h"

#include <pwd.h>
#include <unistd.h>

namespace mdlAccount {

QString UserName() {
    if (const passwd* pUser = ::getpwuid(::geteuid())) {
        return QString::fromLocal8Bit(pUser->pw_name);
    }
    return qEnvironmentVariable("USER");
}

} // namespace mdlAccount

#pragma once

#include <QString>

// Who runs this program, as the system names the account.
namespace mdlAccount {

QString UserName();

} // namespace mdlAccount

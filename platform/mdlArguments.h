#pragma once

#include <QByteArrayList>
#include <QString>

// The command line as the system gave it: on Unix bytes that name a file as
// they are, whatever their encoding; on Windows UTF-16 text, carried here
// as UTF-8, since the code page that argv is spelt in has no letters for
// most of the names a technician may give.
namespace mdlArguments {

// The arguments after the program's name; once the application object is
// made.
QByteArrayList Given(int argc, char* argv[]);
// An argument as text, as the system reads a file's name.
QString Text(const QByteArray& aArgument);
// Text as the argument that gives it.
QByteArray Bytes(const QString& sText);

} // namespace mdlArguments

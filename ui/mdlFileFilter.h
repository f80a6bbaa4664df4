#pragma once

#include <QStringList>

// The file dialog's filter, kept in the string table as descriptions and
// patterns separated by vertical bars ("Text (*.txt)|*.txt|All|*.*").
namespace mdlFileFilter {

// The filter as Qt's file dialog takes it: each description followed by
// its patterns in parentheses, for a dialog that hides them.
QStringList NameFilters(const QString& sTableFilter);

} // namespace mdlFileFilter

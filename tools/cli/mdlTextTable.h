#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Tables for a terminal, as the verbs print them.
namespace mdlTextTable {

// aRows, headings first, a line each, every column as wide as its widest
// cell and two spaces between columns.
QString Table(const QList<QStringList>& aRows);

} // namespace mdlTextTable

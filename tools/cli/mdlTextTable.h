#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Tables for a terminal, as the verbs print them.
namespace mdlTextTable {

// aRows, headings first, a line each, every column as wide as its widest
// cell and two spaces between columns.
QString Table(const QList<QStringList>& aRows);

// For a table printed a row at a time: aWidths widened to fit asRow, and
// asRow as a line of columns aWidths wide.
void Fit(QList<qsizetype>& aWidths, const QStringList& asRow);
QString Line(const QStringList& asRow, const QList<qsizetype>& aWidths);

} // namespace mdlTextTable

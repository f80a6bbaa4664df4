#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The text of the serial number counter file, {"next": 103, "returned":
// [101]}, read strictly: a file that a general JSON reader would take some
// way (a key twice, a fraction rounded) could move the counter back, and a
// number would go to two boards.
namespace mdlCounterText {

// What is wrong with aText as a counter file; empty when nothing is, and
// then lNext and alReturned (ascending) hold it. Exactly the keys "next"
// and "returned", each once, in either order, with JSON whitespace around
// anything; numbers as plain digits from 0 to the largest 64-bit count;
// "returned" distinct numbers below "next".
QString Damage(const QByteArray& aText, qint64& lNext, QList<qint64>& alReturned);

} // namespace mdlCounterText

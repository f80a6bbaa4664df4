#pragma once

#include <QTest>

#include <cstddef>

// Tables of cases as Qt Test data rows: a row per element, named by its
// sName, with the whole element in the column "oRow".
namespace mdlRows {

template <typename Row, std::size_t N> void Add(const Row (&aRows)[N]) {
    QTest::addColumn<Row>("oRow");
    for (const Row& oRow : aRows) {
        QTest::newRow(oRow.sName) << oRow;
    }
}

} // namespace mdlRows

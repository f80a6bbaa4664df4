#pragma once

#include <QChar>
#include <QStringView>

#include <algorithm>
#include <array>
#include <optional>
#include <span>

// Hexadecimal digits as the application and command files write them. The
// codec decodes every digit of a file here, so this is where the time goes.
namespace mdlHex {

inline constexpr std::array<qint8, 128> aDigitValues = [] {
    std::array<qint8, 128> aValues{};
    std::fill(aValues.begin(), aValues.end(), qint8(-1));
    for (int i = 0; i < 10; ++i) {
        aValues['0' + i] = qint8(i);
    }
    for (int i = 0; i < 6; ++i) {
        aValues['A' + i] = aValues['a' + i] = qint8(10 + i);
    }
    return aValues;
}();

// The value of a hexadecimal digit in either case; -1 for any other character.
inline int DigitValue(QChar sDigit) {
    const char16_t iCode = sDigit.unicode();
    return iCode < aDigitValues.size() ? aDigitValues[iCode] : -1;
}

// Decodes the digit pairs of sPairs, high digit first, into aBytes: a byte
// for every two characters. Returns the low byte of the bytes' sum, all a
// checksum needs, or nothing when any character is not a digit.
std::optional<quint8> DecodePairs(QStringView sPairs, std::span<quint8> aBytes);

} // namespace mdlHex

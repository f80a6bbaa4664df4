#include "records/mdlHex.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// Decodes one pair at a time; false at the first character that is no digit.
bool DecodeEach(QStringView sPairs, std::span<quint8> aBytes, quint8& ySum) {
    for (size_t i = 0; i < aBytes.size(); ++i) {
        const int iHigh = mdlHex::DigitValue(sPairs[2 * i]);
        const int iLow = mdlHex::DigitValue(sPairs[2 * i + 1]);
        if ((iHigh | iLow) < 0) {
            return false;
        }
        aBytes[i] = quint8(iHigh << 4 | iLow);
        ySum += aBytes[i];
    }
    return true;
}

#ifdef __SSE2__
constexpr size_t lPairsPerBlock = 8;

// Eight pairs, sixteen characters, at once: the same checks and values as
// DigitValue, sixteen lanes wide. False when any character is no digit.
bool DecodeBlock(const char16_t* aCodes, quint8* aBytes, quint8& ySum) {
    const __m128i oFirst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(aCodes));
    const __m128i oSecond = _mm_loadu_si128(reinterpret_cast<const __m128i*>(aCodes + 8));
    const __m128i oZero = _mm_setzero_si128();
    // Saturation turns any code beyond a byte into 0x00 or 0xFF: no digit.
    const __m128i oChars = _mm_packus_epi16(oFirst, oSecond);
    // Unsigned "at most": min(x, n) == x.
    const __m128i oDigit = _mm_sub_epi8(oChars, _mm_set1_epi8('0'));
    const __m128i bDigit = _mm_cmpeq_epi8(_mm_min_epu8(oDigit, _mm_set1_epi8(9)), oDigit);
    const __m128i oLetter =
        _mm_sub_epi8(_mm_or_si128(oChars, _mm_set1_epi8(0x20)), _mm_set1_epi8('a'));
    const __m128i bLetter = _mm_cmpeq_epi8(_mm_min_epu8(oLetter, _mm_set1_epi8(5)), oLetter);
    if (_mm_movemask_epi8(_mm_or_si128(bDigit, bLetter)) != 0xFFFF) {
        return false;
    }
    const __m128i oValues =
        _mm_or_si128(_mm_and_si128(bDigit, oDigit),
                     _mm_and_si128(bLetter, _mm_add_epi8(oLetter, _mm_set1_epi8(10))));
    // Each 16-bit lane holds a pair, the high digit in its low byte.
    const __m128i oHigh = _mm_slli_epi16(_mm_and_si128(oValues, _mm_set1_epi16(0x00FF)), 4);
    const __m128i oBytes = _mm_packus_epi16(_mm_or_si128(oHigh, _mm_srli_epi16(oValues, 8)), oZero);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(aBytes), oBytes);
    ySum += quint8(_mm_cvtsi128_si32(_mm_sad_epu8(oBytes, oZero)));
    return true;
}
#endif

} // namespace

namespace mdlHex {

std::optional<quint8> DecodePairs(QStringView sPairs, std::span<quint8> aBytes) {
    quint8 ySum = 0;
    size_t lDone = 0;
#ifdef __SSE2__
    for (; lDone + lPairsPerBlock <= aBytes.size(); lDone += lPairsPerBlock) {
        if (!DecodeBlock(sPairs.utf16() + 2 * lDone, aBytes.data() + lDone, ySum)) {
            return std::nullopt;
        }
    }
#endif
    if (!DecodeEach(sPairs.sliced(2 * lDone), aBytes.subspan(lDone), ySum)) {
        return std::nullopt;
    }
    return ySum;
}

} // namespace mdlHex

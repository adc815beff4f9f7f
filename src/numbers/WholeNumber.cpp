#include "WholeNumber.h"

namespace {

bool IsBlank(char character)
{
    return character == ' ' || character == '\t';
}

} // namespace

int32_t DigitValue(char character, int32_t base)
{
    int digit = -1;
    if (character >= '0' && character <= '9')
        digit = character - '0';
    else if (character >= 'a' && character <= 'f')
        digit = character - 'a' + 10;
    else if (character >= 'A' && character <= 'F')
        digit = character - 'A' + 10;
    return digit < base ? digit : -1;
}

ScannedNumber ScanWholeNumber(const char* text, const NumberRule& rule)
{
    ScannedNumber scanned{text, 0, false, false};
    if (text == nullptr)
        return scanned;
    const char* next = text;
    while (IsBlank(*next))
        ++next;
    if (rule.signAllowed && (*next == '-' || *next == '+')) {
        scanned.negative = *next == '-';
        ++next;
    }
    int32_t base = rule.base == 0 ? 10 : rule.base;
    if (rule.base != 10 && next[0] == '0' && (next[1] == 'x' || next[1] == 'X') && DigitValue(next[2], 16) >= 0) {
        base = 16;
        next += 2;
    }
    const char* digits = next;
    const uint64_t wide = static_cast<uint64_t>(base);
    for (int digit = DigitValue(*next, base); digit >= 0; digit = DigitValue(*++next, base)) {
        if (scanned.magnitude > (UINT64_MAX - static_cast<uint64_t>(digit)) / wide)
            scanned.beyond64Bits = true;
        scanned.magnitude = scanned.magnitude * wide + static_cast<uint64_t>(digit);
    }
    if (next != digits)
        scanned.end = next;
    return scanned;
}

bool ReadWholeNumber(const char* text, const NumberRule& rule, int64_t& value)
{
    const ScannedNumber scanned = ScanWholeNumber(text, rule);
    if (scanned.end == text)
        return false;
    const char* rest = scanned.end;
    while (IsBlank(*rest))
        ++rest;
    if (*rest != '\0' || scanned.beyond64Bits || scanned.magnitude > static_cast<uint64_t>(INT64_MAX))
        return false;
    const int64_t magnitude = static_cast<int64_t>(scanned.magnitude);
    const int64_t number = scanned.negative ? -magnitude : magnitude;
    if (number < rule.minimum || number > rule.maximum)
        return false;
    value = number;
    return true;
}

bool ReadWholeNumber(const char* text, const NumberRule& rule, int32_t& value)
{
    int64_t wide = 0;
    if (!ReadWholeNumber(text, rule, wide) || wide < INT32_MIN || wide > INT32_MAX)
        return false;
    value = static_cast<int32_t>(wide);
    return true;
}

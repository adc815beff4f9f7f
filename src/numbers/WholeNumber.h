#pragma once
#include <cstdint>

// How one reader takes a whole number from outside the program: a command line, a page's address,
// a dialog's field, a window id or a preview handle. Every reader shares the same shape of text
// and differs only in its base, whether a sign may lead, and the range it accepts.
struct NumberRule {
    int32_t base; // 10; 16; or 0: hexadecimal after "0x" or "0X", decimal otherwise
    bool signAllowed;
    int64_t minimum;
    int64_t maximum;
};

// The value of one digit in `base` (up to 16; hex digits in either case), or -1 for a character
// that is no digit there: '9' is one in base 10, 'a' only from base 11 on.
int32_t DigitValue(char character, int32_t base);

// The rule for a whole number: blanks (space, tab) may stand before and after it; then a sign,
// where the rule allows one; then one or more digits of the rule's base, and nothing else: no line
// break, no other character, no text after the trailing blanks. The value lies inside the rule's
// range. False for anything else, and `value` is then unchanged.
bool ReadWholeNumber(const char* text, const NumberRule& rule, int64_t& value);

// The same for a 32-bit reader; the rule's range must lie inside int32.
bool ReadWholeNumber(const char* text, const NumberRule& rule, int32_t& value);

// The leading part of the rule alone: blanks, the sign where allowed, the digits. The one reader
// that by design stops at the first character that is no digit (the preview handle, read as atol
// reads it) uses it directly.
struct ScannedNumber {
    const char* end;    // just after the digits; the text itself when there are none
    uint64_t magnitude; // the digits' value, wrapped to 64 bits
    bool negative;      // a minus sign led the digits
    bool beyond64Bits;  // the digits' value did not fit in 64 bits
};
ScannedNumber ScanWholeNumber(const char* text, const NumberRule& rule);

// The rule for a 32-bit decimal setting with an optional sign: every settings field and option.
constexpr NumberRule DECIMAL_INT32 = {10, true, INT32_MIN, INT32_MAX};

#pragma once
#include <cstdint>

// The command line's part of start-up that needs no window: which mode, and the number that
// names the preview's parent. Portable, so that every build can check it against any input.

// What the command line asks the program to do.
enum SaverMode {
    SAVER_NONE,        // an unrecognised switch: end at once
    SAVER_CONFIGURE,   // no argument, or c / C
    SAVER_PREVIEW,     // p / P followed by the parent window's handle
    SAVER_FULL_SCREEN, // s / S
};

// True when argument, with one leading '-' or '/' skipped, starts with letter (exact byte
// comparison). Nothing after that character is looked at.
bool IsSwitch(const char* argument, char letter);

// The mode for an argument vector (element 0 is the program). The first matching row wins:
// no argument, c or C, p or P, s or S, anything else.
SaverMode SelectMode(int argc, char** argv);

// The text that holds the preview's parent handle: after the first colon of argument 1 when
// something follows it ("/p:1234"), otherwise argument 2 ("/p 1234", "/p: 1234"); nullptr when
// there is none.
const char* FindPreviewHandleText(int argc, char** argv);

// Decimal text to a window handle's value: optional blanks and sign, then at least one digit, read
// as a 64-bit number up to the first other character; its low 32 bits are the handle,
// sign-extended as a 64-bit program sees a 32-bit handle. 0 for no text, no digits, or 0.
intptr_t ParseHandleNumber(const char* text);

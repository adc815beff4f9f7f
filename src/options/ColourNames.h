#pragma once
#include <cstddef>

#include "sim/Colour.h"

// Colours as X11 programs write them on a command line, read without an X server: for a front end
// that has none, so that a command line saved for one saver draws the same colour in the other.

// "#RRGGBB", "RRGGBB", or "#RGB", whose digits are each channel's high four bits as X reads
// them ("#00f" is 0000F0).
bool ParseHexColour(const char* text, Colour& colour);

// Looks `name` up in a colour database in the format of X's rgb.txt ("47 79 79  dark slate gray"
// per line, '!' starting a comment). Case and spaces do not count: "DarkSlateGray" is
// "dark slate gray". False when the file cannot be read or has no such name.
bool FindColourName(const char* name, const char* databasePath, Colour& colour);

// `text` with each run of spaces and tabs made one space and none at either end, cut short to fit
// `size` bytes: "dark slate gray" as the daemon's settings tool may save it, wrapped across lines
// inside its quotes. Written into `tidy`, which it returns.
const char* TidyColourName(const char* text, char* tidy, size_t size);

// ParseHexColour's forms, else a name in the system's rgb.txt.
bool ReadColourName(const char* text, Colour& colour);

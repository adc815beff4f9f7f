#pragma once
#include <cstddef>

#include "sim/Colour.h"

// Colours as X11 programs write them on a command line, read without an X server: for a front end
// that has none, so that a command line saved for one saver draws the same colour in the other.

// The numeric forms as X reads them, and this program's own six hex digits without '#':
//   "#RGB", "#RRGGBB", "#RRRGGGBBB", "#RRRRGGGGBBBB": each channel's high bits ("#00f" is 0000F0);
//   "rgb:R/G/B" with one to four hex digits a channel, each scaled to the full range
//   ("rgb:f/8/0" is FF8800);
//   "RRGGBB".
bool ParseHexColour(const char* text, Colour& colour);

// The names an X server knows beyond an older rgb.txt: the CSS names X added ("crimson", "teal",
// "rebecca purple") and the "web …" and "x11 …" forms of the names CSS and X define differently.
bool FindBuiltInColourName(const char* name, Colour& colour);

// Looks `name` up in a colour database in the format of X's rgb.txt ("47 79 79  dark slate gray"
// per line, '!' starting a comment). Case and spaces do not count: "DarkSlateGray" is
// "dark slate gray". False when the file cannot be read or has no such name.
bool FindColourName(const char* name, const char* databasePath, Colour& colour);

// `text` with each run of spaces and tabs made one space and none at either end, cut short to fit
// `size` bytes: "dark slate gray" as the daemon's settings tool may save it, wrapped across lines
// inside its quotes. Written into `tidy`, which it returns.
const char* TidyColourName(const char* text, char* tidy, size_t size);

// The one reader of a colour written as text, for every program that takes one: the numeric
// forms, else a built-in name, else a name in the system's rgb.txt. The X11 saver reads its
// colours here too rather than asking the server, so that a command line gives the same colour
// in every saver, with or without an X server.
bool ReadColourName(const char* text, Colour& colour);

struct CDisplayOptions;
// Reads --back-colour's text, when given, into options.m_backColour. Text that is no colour
// leaves the default, after one warning line on stderr that names `program`: the saver runs
// either way.
void ReadBackColour(const char* program, CDisplayOptions& options);

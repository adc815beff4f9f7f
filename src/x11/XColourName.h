#pragma once
#include <X11/Xlib.h>

#include "SaverOptions.h"

// A colour as X programs read one: a name in the server's colour database ("navy", "dark slate
// gray"), "#RGB", "#RRGGBB", "rgb:RR/GG/BB" and the other forms Xlib knows, and this program's
// own six hex digits without '#'.
bool ReadXColour(Display* display, const char* text, Colour& colour);

// Reads --back-colour's text into options.m_backColour. Text that is no colour leaves the
// default, after one warning line on stderr: the saver runs either way.
void ResolveBackColour(Display* display, CSaverOptions& options);

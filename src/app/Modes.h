#pragma once
#include <windows.h>

#include "ModeSwitch.h"

// Decimal text to a window handle, as ParseHandleNumber reads it. Null for no text, no digits, or 0.
HWND ParseWindowHandle(const char* text);

// The existing window the preview should live in, or null (missing, not a number, 0, not a window).
HWND FindPreviewParent(int argc, char** argv);

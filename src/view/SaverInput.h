#pragma once
#include <windows.h>

#include "win/Wnd.h"

// The inputs the shared rule (CInputRule) ends a saver on, in any of its windows: every key and
// button, and the wheel. A key's release is left out: it never ends the saver.
#define ON_SAVER_INPUT(handler)                                                                                        \
    ON_MESSAGE(WM_LBUTTONDOWN, handler)                                                                                \
    ON_MESSAGE(WM_MBUTTONDOWN, handler)                                                                                \
    ON_MESSAGE(WM_RBUTTONDOWN, handler)                                                                                \
    ON_MESSAGE(WM_LBUTTONDBLCLK, handler)                                                                              \
    ON_MESSAGE(WM_RBUTTONDBLCLK, handler)                                                                              \
    ON_MESSAGE(WM_KEYDOWN, handler)                                                                                    \
    ON_MESSAGE(WM_SYSKEYDOWN, handler)                                                                                 \
    ON_MESSAGE(WM_MOUSEWHEEL, handler)                                                                                 \
    ON_MESSAGE(WM_MOUSEHWHEEL, handler)

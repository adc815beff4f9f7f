#pragma once
#include <windows.h>

#include "win/Wnd.h"

// Every button and key: each ends the saver, in any of its windows.
#define ON_SAVER_INPUT(handler)                                                                                        \
    ON_MESSAGE(WM_LBUTTONDOWN, handler)                                                                                \
    ON_MESSAGE(WM_MBUTTONDOWN, handler)                                                                                \
    ON_MESSAGE(WM_RBUTTONDOWN, handler)                                                                                \
    ON_MESSAGE(WM_LBUTTONDBLCLK, handler)                                                                              \
    ON_MESSAGE(WM_RBUTTONDBLCLK, handler)                                                                              \
    ON_MESSAGE(WM_KEYDOWN, handler)                                                                                    \
    ON_MESSAGE(WM_SYSKEYDOWN, handler)

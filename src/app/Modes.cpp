#include "Modes.h"

HWND ParseWindowHandle(const char* text)
{
    return reinterpret_cast<HWND>(ParseHandleNumber(text));
}

HWND FindPreviewParent(int argc, char** argv)
{
    HWND parent = ParseWindowHandle(FindPreviewHandleText(argc, argv));
    if (parent == nullptr || !IsWindow(parent))
        return nullptr;
    return parent;
}

// Clicks a button of another program's window as a user does, for the installer checks:
//
//   press-button.exe CAPTION ID
//
// Waits up to 30 s for a visible window titled CAPTION (a trailing * takes any ending) with an
// enabled button ID, clicks it, and waits as long again until the button is gone or disabled, so
// that the next click meets the next window. Exits with 0 when done.
#include <windows.h>

#include <string>

namespace {

std::wstring g_caption;
int g_id = 0;

BOOL CALLBACK FindButton(HWND window, LPARAM found)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    const std::wstring caption(text);
    const bool prefix = !g_caption.empty() && g_caption.back() == L'*';
    const bool named = prefix ? caption.compare(0, g_caption.size() - 1, g_caption, 0, g_caption.size() - 1) == 0
                              : caption == g_caption;
    HWND button = named && IsWindowVisible(window) ? GetDlgItem(window, g_id) : nullptr;
    if (button == nullptr || !IsWindowEnabled(button))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = button;
    return FALSE;
}

bool Settled(HWND button)
{
    return !IsWindow(button) || !IsWindowVisible(button) || !IsWindowEnabled(button);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3)
        return 2;
    g_caption = argv[1];
    g_id = _wtoi(argv[2]);
    HWND button = nullptr;
    for (int tries = 0; tries < 300 && button == nullptr; ++tries) {
        EnumWindows(FindButton, reinterpret_cast<LPARAM>(&button));
        if (button == nullptr)
            Sleep(100);
    }
    if (button == nullptr)
        return 1;
    PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(g_id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    for (int tries = 0; tries < 300 && !Settled(button); ++tries)
        Sleep(100);
    return Settled(button) ? 0 : 1;
}

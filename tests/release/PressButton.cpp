// Clicks a button of another program's dialog, as a user does, for the installer checks: the
// settings dialog's OK, the uninstaller's Uninstall, Retry and Close.
//
//   press-button.exe CAPTION ID [wait]
//
// Waits up to 30 s for a visible window titled CAPTION (a trailing * matches any ending) with an
// enabled button ID, clicks it and waits as long again for the click to take: the button gone or
// disabled. With "wait" it only waits for the window. Exits with 0 when done, 1 when no such
// window came or the click did not take.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

struct Search {
    std::wstring caption;
    bool prefix;
    int id;
    HWND button;
};

BOOL CALLBACK Match(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<Search*>(parameter);
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    const std::wstring caption(text);
    const bool named =
        search->prefix ? caption.compare(0, search->caption.size(), search->caption) == 0 : caption == search->caption;
    HWND button = named && IsWindowVisible(window) ? GetDlgItem(window, search->id) : nullptr;
    if (button == nullptr || !IsWindowEnabled(button))
        return TRUE;
    search->button = button;
    return FALSE;
}

bool Settled(HWND button)
{
    return !IsWindow(button) || !IsWindowVisible(button) || !IsWindowEnabled(button);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3 && !(argc == 4 && std::wstring(argv[3]) == L"wait"))
        return 2;
    Search search{argv[1], false, _wtoi(argv[2]), nullptr};
    if (!search.caption.empty() && search.caption.back() == L'*') {
        search.caption.pop_back();
        search.prefix = true;
    }
    for (int tries = 0; tries < 300 && search.button == nullptr; ++tries) {
        EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
        if (search.button == nullptr)
            Sleep(100);
    }
    if (search.button == nullptr)
        return 1;
    if (argc == 4)
        return 0;
    PostMessageW(GetParent(search.button), WM_COMMAND, MAKEWPARAM(search.id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(search.button));
    for (int tries = 0; tries < 300 && !Settled(search.button); ++tries)
        Sleep(100);
    return Settled(search.button) ? 0 : 1;
}

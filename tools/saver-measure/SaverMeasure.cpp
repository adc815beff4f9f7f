// Starts ASCENDA.SCR full screen, reports how long it took to show its window and to paint its
// first frame, lets it run for a while and ends it with a key, as a user would.
//
//   saver-measure PATH-TO-ASCENDA.SCR SECONDS
//
// The first frame is the moment the screen's top right corner changes from what it showed before
// the start (the saver's fill reaches every pixel there; nothing else is drawn in that corner).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "numbers/WholeNumber.h"

namespace {

struct SearchState {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<SearchState*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window))
        return TRUE;
    search->window = window;
    return FALSE;
}

COLORREF CornerPixel()
{
    HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, GetSystemMetrics(SM_CXSCREEN) - 10, 10);
    ReleaseDC(nullptr, screen);
    return pixel;
}

double MillisecondsSince(LARGE_INTEGER start)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: saver-measure PATH-TO-ASCENDA.SCR SECONDS\n");
        return 2;
    }
    const std::string path = argv[1];
    int32_t seconds = 0;
    if (!ReadWholeNumber(argv[2], {10, false, 1, 3600}, seconds)) {
        std::fprintf(stderr, "saver-measure: SECONDS must be 1 to 3600, not \"%s\"\n", argv[2]);
        return 2;
    }
    const COLORREF before = CornerPixel();

    std::string commandLine = "\"" + path + "\" /s";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "saver-measure: cannot start %s\n", path.c_str());
        return 1;
    }

    SearchState search = {process.dwProcessId, nullptr};
    double windowShown = -1;
    double firstFrame = -1;
    while (firstFrame < 0 && MillisecondsSince(start) < 30000) {
        if (search.window == nullptr) {
            EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
            if (search.window != nullptr)
                windowShown = MillisecondsSince(start);
        } else if (CornerPixel() != before) {
            firstFrame = MillisecondsSince(start);
        }
        Sleep(1);
    }
    std::printf("window shown after %.0f ms\nfirst frame painted after %.0f ms\n", windowShown, firstFrame);
    std::fflush(stdout);

    WaitForSingleObject(process.hProcess, static_cast<DWORD>(seconds) * 1000);
    if (search.window != nullptr)
        PostMessageA(search.window, WM_KEYDOWN, VK_SPACE, 0);
    const bool ended = WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0;
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    std::printf("saver %s, exit code %lu\n", ended ? "ended on a key" : "did not end", exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return ended && exitCode == 0 && firstFrame >= 0 ? 0 : 1;
}

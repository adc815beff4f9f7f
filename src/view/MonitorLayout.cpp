#include "MonitorLayout.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace {
BOOL CALLBACK CollectOtherMonitor(HMONITOR monitor, HDC, RECT*, LPARAM parameter)
{
    MONITORINFO info = {sizeof info, {}, {}, 0};
    if (GetMonitorInfoA(monitor, &info) && (info.dwFlags & MONITORINFOF_PRIMARY) == 0)
        reinterpret_cast<std::vector<RECT>*>(parameter)->push_back(info.rcMonitor);
    return TRUE;
}
} // namespace

MonitorLayout ListDisplayMonitors()
{
    MonitorLayout layout = {{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, {}};
    EnumDisplayMonitors(nullptr, nullptr, CollectOtherMonitor, reinterpret_cast<LPARAM>(&layout.others));
    return layout;
}

MonitorLayout (*g_listMonitors)() = ListDisplayMonitors;

RECT FitPicture(int pictureWidth, int pictureHeight, const RECT& target)
{
    const int64_t targetWidth = target.right - target.left;
    const int64_t targetHeight = target.bottom - target.top;
    int64_t width = 0, height = 0;
    if (pictureWidth > 0 && pictureHeight > 0) {
        // Compared as products, so no rounding decides which side limits the picture.
        if (targetWidth * pictureHeight <= targetHeight * pictureWidth) {
            width = targetWidth;
            height = targetWidth * pictureHeight / pictureWidth;
        } else {
            height = targetHeight;
            width = targetHeight * pictureWidth / pictureHeight;
        }
    }
    const LONG left = target.left + static_cast<LONG>((targetWidth - width) / 2);
    const LONG top = target.top + static_cast<LONG>((targetHeight - height) / 2);
    return {left, top, left + static_cast<LONG>(width), top + static_cast<LONG>(height)};
}

PictureSpan MapPictureSpan(int from, int to, int pictureLength, int fittedLength)
{
    from = std::max(from, 0);
    to = std::min(to, pictureLength);
    if (to <= from || fittedLength <= 0)
        return {0, 0, 0, 0};
    const int divisor = std::gcd(pictureLength, fittedLength);
    const int step = pictureLength / divisor, fittedStep = fittedLength / divisor;
    const int firstStep = from / step;
    const int endStep = (to + step - 1) / step;
    return {firstStep * step, endStep * step, firstStep * fittedStep, endStep * fittedStep};
}

#pragma once
#include <cstdint>

// The scale for a window of the given size when the user named none: the smallest from the
// settings' default up to their largest at which every lift shaft lies wholly inside the window,
// and the default when none does. Sets the screen factor for the size, as a paint would.
int32_t FitScale(int32_t cars, int32_t floors, int32_t width, int32_t height);

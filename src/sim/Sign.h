#pragma once
#include <cstdint>

// The model's sign function: directions are +1 up, -1 down, 0 idle.
inline int32_t Sign(int32_t value)
{
    return value > 0 ? 1 : (value < 0 ? -1 : 0);
}

#include "Random.h"

namespace {

// The classic C-library linear congruential generator; unsigned arithmetic wraps modulo 2^32.
constexpr uint32_t RANDOM_START = 1;
uint32_t g_randomState = RANDOM_START;

} // namespace

int32_t RandomDraw()
{
    g_randomState = g_randomState * 214013u + 2531011u;
    return static_cast<int32_t>((g_randomState >> 16) & 0x7FFF);
}

void RestartRandom()
{
    g_randomState = RANDOM_START;
}

uint32_t GetRandomState()
{
    return g_randomState;
}

void SetRandomState(uint32_t state)
{
    g_randomState = state;
}

#pragma once
#include <cstdint>

// The model's one pseudo-random source: the classic C-library generator, kept here so that
// every build replays the same sequence. Lift parking and trip decisions share it in call order.
int32_t RandomDraw(); // 0..32767
void RestartRandom(); // back to the fixed starting state (a new run)

// The generator's whole state, so that a test can place a chosen draw next in the sequence.
uint32_t GetRandomState();
void SetRandomState(uint32_t state);

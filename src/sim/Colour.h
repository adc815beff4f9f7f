#pragma once
#include <cstdint>

// One 32-bit colour, 0x00BBGGRR: red in the low byte, green next, blue in the third.
using Colour = uint32_t;

constexpr Colour MakeColour(uint32_t red, uint32_t green, uint32_t blue)
{
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}
constexpr uint32_t RedOf(Colour colour)
{
    return colour & 0xFF;
}
constexpr uint32_t GreenOf(Colour colour)
{
    return (colour >> 8) & 0xFF;
}
constexpr uint32_t BlueOf(Colour colour)
{
    return (colour >> 16) & 0xFF;
}

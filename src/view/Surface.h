#pragma once
#include <cstdint>

#include "sim/Colour.h"

// A brush description in the shape of the platform's LOGBRUSH: style, colour, hatch.
// The scene only ever changes its colour.
constexpr uint32_t BRUSH_STYLE_SOLID = 0;
struct BrushDescription {
    uint32_t style;
    Colour colour;
    int32_t hatch;
};

struct DevicePoint {
    int32_t x;
    int32_t y;
};

// What the scene draws on, in device units (pixels), y growing downward. The Windows build draws
// through GDI; tests record the calls; the headless runner draws nothing.
class CSurface {
public:
    virtual ~CSurface() = default;

    // A filled polygon through the four corners in the order given, outlined with a pen 1 unit wide
    // made from the brush and filled with a solid brush of the brush's colour (alternate fill).
    virtual void DrawPolygon(const BrushDescription& brush, const DevicePoint corners[4]) = 0;
    // A line with a pen 1 unit wide made from the brush; the end point itself is not set.
    virtual void DrawLine(const BrushDescription& brush, DevicePoint from, DevicePoint to) = 0;
    // Opaque text in the default font, its top left corner at (x, y), length characters of text.
    virtual void DrawOpaqueText(int32_t x, int32_t y, const char* text, int32_t length, Colour textColour,
                                Colour backColour) = 0;
    // Fills left..right-1 by top..bottom-1 with a solid colour, no outline.
    virtual void FillRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom, Colour colour) = 0;
    // False for a surface that shows nothing: the scene then skips working out device coordinates
    // (the passes still step the model exactly as on screen).
    virtual bool ShowsShapes() const { return true; }
};

#pragma once
#include "Surface.h"

// A surface that draws nothing: it lets the headless runner drive the model through the very
// passes the window runs.
class CNullSurface : public CSurface {
public:
    void DrawPolygon(const BrushDescription&, const DevicePoint[4]) override {}
    void DrawLine(const BrushDescription&, DevicePoint, DevicePoint) override {}
    void DrawOpaqueText(int32_t, int32_t, const char*, int32_t, Colour, Colour) override {}
    void FillRectangle(int32_t, int32_t, int32_t, int32_t, Colour) override {}
    bool ShowsShapes() const override { return false; }
};

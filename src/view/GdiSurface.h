#pragma once
#ifdef _WIN32
#include <windows.h>

#include "Surface.h"

// Draws on a GDI device context. Every shape creates its own pen and brush, selects them, draws,
// puts the device context's previous pen and brush back and deletes the two: nothing is cached, so
// the surface holds no GDI object between calls and may be made and dropped for every pass. It
// keeps the bounds of what it drew, so the pass's picture can be copied elsewhere.
class CGdiSurface : public CSurface {
public:
    explicit CGdiSurface(HDC dc) : m_dc(dc) {}

    void DrawPolygon(const BrushDescription& brush, const DevicePoint corners[4]) override;
    void DrawLine(const BrushDescription& brush, DevicePoint from, DevicePoint to) override;
    void DrawOpaqueText(int32_t x, int32_t y, const char* text, int32_t length, Colour textColour,
                        Colour backColour) override;
    void FillRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom, Colour colour) override;

    HDC GetDc() const { return m_dc; }
    // The smallest rectangle holding every pixel drawn through this surface so far.
    const RECT& GetDrawnBounds() const { return m_drawn; }

private:
    void NoteDrawn(int32_t left, int32_t top, int32_t right, int32_t bottom);

    HDC m_dc;
    RECT m_drawn = {0, 0, 0, 0};
};
#endif

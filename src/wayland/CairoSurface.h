#pragma once
#include <cairo.h>

#include "DrawnArea.h"
#include "view/Surface.h"

// Draws on a cairo image surface, without antialiasing, so that a shape drawn again in the
// background colour covers exactly the pixels it covered before, as the scene's erasing expects.
// Remembers the area it drew on since the last TakeDrawn. Text goes through cairo's own text
// rendering in the monospaced face of the system's fonts.
//
// Nearly every shape the scene draws is an upright box (a car, a person, a slab, a button): those
// are filled straight into the surface's memory, which costs a small part of what cairo's path
// filling and stroking cost for the same pixels.
class CCairoSurface : public CSurface {
public:
    // `target` stays the caller's. `fontSize` is in the target's pixels.
    CCairoSurface(cairo_surface_t* target, double fontSize);
    ~CCairoSurface() override;
    CCairoSurface(const CCairoSurface&) = delete;
    CCairoSurface& operator=(const CCairoSurface&) = delete;

    void DrawPolygon(const BrushDescription& brush, const DevicePoint corners[4]) override;
    void DrawLine(const BrushDescription& brush, DevicePoint from, DevicePoint to) override;
    void DrawOpaqueText(int32_t x, int32_t y, const char* text, int32_t length, Colour textColour,
                        Colour backColour) override;
    void FillRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom, Colour colour) override;

    // The text's height in pixels.
    void SetFontSize(double fontSize) { m_fontSize = fontSize; }
    // Fills the whole target.
    void Clear(Colour colour);
    // The size in pixels of a line of text, as DrawOpaqueText would draw it.
    void MeasureText(const char* text, int32_t& width, int32_t& height);

    // Frees cairo's and the font library's process-wide caches, once no surface is left, so that
    // a leak checker at exit sees only real leaks.
    static void ReleaseFontCaches();

    const CDrawnArea& GetDrawn() const { return m_drawn; }
    void ClearDrawn() { m_drawn.Clear(); }

private:
    void SetColour(Colour colour);
    // Fills the pixels from (left, top) to (right, bottom), both inclusive, cut to the target.
    void FillBox(int32_t left, int32_t top, int32_t right, int32_t bottom, Colour colour);
    // Records the target's pixels under the path just built, plus a pixel's margin for the outline.
    void RecordPath(double margin);

    cairo_t* m_cairo;
    cairo_surface_t* m_target;
    double m_fontSize;
    CDrawnArea m_drawn;
};

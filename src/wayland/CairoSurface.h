#pragma once
#include <cairo.h>

#include "DrawnArea.h"
#include "view/Surface.h"

// How the scene's pixels land on one output's pixels: scaled by `scale` about the top left
// corner, then moved by (offsetX, offsetY). The output the scene is laid out for has 1, 0, 0.
struct Placement {
    double scale;
    double offsetX;
    double offsetY;
};

// Draws on a cairo image surface, without antialiasing, so that a shape drawn again in the
// background colour covers exactly the pixels it covered before, as the scene's erasing expects.
// Remembers the area it drew on since the last TakeDrawn. Text goes through cairo's own text
// rendering in the monospaced face of the system's fonts.
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

    void SetPlacement(const Placement& placement) { m_placement = placement; }
    // The text's height in the scene's pixels.
    void SetFontSize(double fontSize) { m_fontSize = fontSize; }
    // Fills the whole target, ignoring the placement.
    void Clear(Colour colour);
    // The size in scene pixels of a line of text, as DrawOpaqueText would draw it.
    void MeasureText(const char* text, int32_t& width, int32_t& height);

    // Frees cairo's and the font library's process-wide caches, once no surface is left, so that
    // a leak checker at exit sees only real leaks.
    static void ReleaseFontCaches();

    const CDrawnArea& GetDrawn() const { return m_drawn; }
    void ClearDrawn() { m_drawn.Clear(); }

private:
    void SetColour(Colour colour);
    // Records the target's pixels under the path just built, plus a pixel's margin for the outline.
    void RecordPath(double margin);

    cairo_t* m_cairo;
    Placement m_placement;
    double m_fontSize;
    CDrawnArea m_drawn;
};

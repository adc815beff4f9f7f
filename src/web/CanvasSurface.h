#pragma once
#include "view/Surface.h"

// The scene's surface on the page's canvas (Module.canvas), through its 2D context. Coordinates
// are the canvas's own pixels, which the saver keeps equal to device pixels up to a 4K screen's.
class CCanvasSurface : public CSurface {
public:
    CCanvasSurface();

    void DrawPolygon(const BrushDescription& brush, const DevicePoint corners[4]) override;
    void DrawLine(const BrushDescription& brush, DevicePoint from, DevicePoint to) override;
    void DrawOpaqueText(int32_t x, int32_t y, const char* text, int32_t length, Colour textColour,
                        Colour backColour) override;
    void FillRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom, Colour colour) override;

    // Sets the canvas's drawing buffer to width x height pixels (which clears it) and the
    // legend's font to a line `fontPixels` high. `ratio` is canvas pixels per CSS pixel;
    // `textScale`, device pixels per canvas pixel: where it is above 1 the browser enlarges the
    // canvas without smoothing, and the legend's text is drawn again at the device's own
    // resolution on a layer over the canvas, as crisp as on a canvas of every device pixel.
    static void SetSize(int32_t width, int32_t height, int32_t fontPixels, double ratio, double textScale);
    // The size of a line of text in the font SetSize set, as DrawOpaqueText fills behind it: a
    // line too wide for the canvas wraps at its bars (" | ").
    static void MeasureText(const char* text, int32_t length, int32_t& width, int32_t& height);
    // Tells the page the scale and screen factor the building is drawn with, and the device row
    // below which the canvas is empty, with the canvas's pixels per CSS pixel (Module.sceneExtent),
    // for its panel and its layout.
    static void ShowExtent(int32_t scale, int32_t screenFactor, int32_t bottom);
};

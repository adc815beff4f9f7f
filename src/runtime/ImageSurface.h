#pragma once
#include <cstdint>
#include <vector>

#include "view/Surface.h"

// The scene drawn into memory, with the rules every front end's surface keeps: an upright polygon
// covers its corners inclusive, a line leaves its end point out. It keeps the fills in the order
// drawn and gives the picture a row at a time, so a whole screen's image never needs to be held
// (the page's module has a small heap). Text is not drawn; where the first text starts is kept,
// as fonts differ from one front end to another.
class CImageSurface : public CSurface {
public:
    CImageSurface(int32_t width, int32_t height);

    void DrawPolygon(const BrushDescription& brush, const DevicePoint corners[4]) override;
    void DrawLine(const BrushDescription& brush, DevicePoint from, DevicePoint to) override;
    void DrawOpaqueText(int32_t x, int32_t y, const char* text, int32_t length, Colour textColour,
                        Colour backColour) override;
    void FillRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom, Colour colour) override;

    int32_t GetWidth() const { return m_width; }
    int32_t GetHeight() const { return m_height; }
    // Row y's GetWidth() pixels; pixels nothing was drawn on are 0 (black).
    void ReadRow(int32_t y, Colour* row) const;
    // The top left corner of the first text drawn; false when none was.
    bool GetTextCorner(DevicePoint& corner) const;

private:
    struct Fill {
        int32_t left, top, right, bottom;
        Colour colour;
    };

    int32_t m_width;
    int32_t m_height;
    std::vector<Fill> m_fills;
    bool m_hasText;
    DevicePoint m_textCorner;
};

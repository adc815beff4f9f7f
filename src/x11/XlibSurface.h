#pragma once
#include <X11/Xlib.h>

#include "view/Surface.h"

// Draws on an X11 drawable through one GC that the caller owns. Shapes set only the GC's
// foreground (the opaque text its background too): nothing is created per shape, unlike the
// pen and brush of the Windows surface, which GDI needs and X does not.
class CXlibSurface : public CSurface {
public:
    // `visual` and `colormap` are the drawable's; `fontAscent` is that of the GC's font, which
    // stays the server's default fixed font.
    CXlibSurface(Display* display, Drawable drawable, GC gc, Visual* visual, Colormap colormap, int fontAscent);

    void DrawPolygon(const BrushDescription& brush, const DevicePoint corners[4]) override;
    void DrawLine(const BrushDescription& brush, DevicePoint from, DevicePoint to) override;
    void DrawOpaqueText(int32_t x, int32_t y, const char* text, int32_t length, Colour textColour,
                        Colour backColour) override;
    void FillRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom, Colour colour) override;

    // The pixel value of a colour in the drawable's visual.
    unsigned long GetPixel(Colour colour);

private:
    // Where a true-colour visual keeps one channel: the mask's lowest bit and its width. Found
    // once, since every shape asks for a pixel.
    struct Channel {
        unsigned long mask;
        int shift;
        int bits;
    };
    static Channel FindChannel(unsigned long mask);
    // A channel of 8 bits placed into the visual's channel.
    static unsigned long PlaceChannel(uint32_t value, const Channel& channel);
    unsigned long AllocatePixel(Colour colour);

    Display* m_display;
    Drawable m_drawable;
    GC m_gc;
    Colormap m_colormap;
    bool m_trueColour;
    Channel m_red, m_green, m_blue;
    int m_fontAscent;

    // Colour-mapped visuals need a round trip per new colour; the scene uses few, so keep them.
    static constexpr int CACHE_SIZE = 64;
    struct CachedPixel {
        Colour colour;
        unsigned long pixel;
    };
    CachedPixel m_cache[CACHE_SIZE];
    int m_cacheCount;
    int m_cacheNext;
};

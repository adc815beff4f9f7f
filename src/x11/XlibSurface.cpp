#include "XlibSurface.h"

namespace {
// X coordinates are 16 bits on the wire: a point beyond them is held at the edge rather than
// wrapped to the other side of the window.
short ToCoordinate(int32_t value)
{
    return static_cast<short>(value < -32768 ? -32768 : (value > 32767 ? 32767 : value));
}
} // namespace

CXlibSurface::CXlibSurface(Display* display, Drawable drawable, GC gc, Visual* visual, Colormap colormap,
                           int fontAscent)
    : m_display(display), m_drawable(drawable), m_gc(gc), m_colormap(colormap),
      m_trueColour(visual->c_class == TrueColor), m_red(FindChannel(visual->red_mask)),
      m_green(FindChannel(visual->green_mask)), m_blue(FindChannel(visual->blue_mask)),
      m_fontAscent(fontAscent), m_cache{}, m_cacheCount(0), m_cacheNext(0)
{
}

CXlibSurface::Channel CXlibSurface::FindChannel(unsigned long mask)
{
    Channel channel{mask, 0, 0};
    if (mask == 0)
        return channel;
    while (((mask >> channel.shift) & 1) == 0)
        ++channel.shift;
    while (((mask >> (channel.shift + channel.bits)) & 1) != 0)
        ++channel.bits;
    return channel;
}

unsigned long CXlibSurface::PlaceChannel(uint32_t value, const Channel& channel)
{
    if (channel.mask == 0)
        return 0;
    // Keep the top bits of the 8-bit value when the channel is narrower (a 16-bit visual).
    const int bits = channel.bits;
    const unsigned long scaled = bits >= 8 ? static_cast<unsigned long>(value) << (bits - 8) : value >> (8 - bits);
    return (scaled << channel.shift) & channel.mask;
}

unsigned long CXlibSurface::GetPixel(Colour colour)
{
    if (m_trueColour) {
        return PlaceChannel(RedOf(colour), m_red) | PlaceChannel(GreenOf(colour), m_green) |
               PlaceChannel(BlueOf(colour), m_blue);
    }
    for (int index = 0; index < m_cacheCount; ++index) {
        if (m_cache[index].colour == colour)
            return m_cache[index].pixel;
    }
    return AllocatePixel(colour);
}

unsigned long CXlibSurface::AllocatePixel(Colour colour)
{
    XColor request{};
    request.red = static_cast<unsigned short>(RedOf(colour) * 257);
    request.green = static_cast<unsigned short>(GreenOf(colour) * 257);
    request.blue = static_cast<unsigned short>(BlueOf(colour) * 257);
    request.flags = DoRed | DoGreen | DoBlue;
    // A full colour map leaves the colour as black rather than ending the saver.
    const unsigned long pixel = XAllocColor(m_display, m_colormap, &request) != 0 ? request.pixel : 0;
    m_cache[m_cacheNext] = {colour, pixel};
    m_cacheNext = (m_cacheNext + 1) % CACHE_SIZE;
    if (m_cacheCount < CACHE_SIZE)
        ++m_cacheCount;
    return pixel;
}

void CXlibSurface::DrawPolygon(const BrushDescription& brush, const DevicePoint corners[4])
{
    // The fill leaves out the right and bottom edges, the outline puts them in: together they cover
    // the corners inclusive, as a filled and outlined polygon does on Windows.
    XPoint points[5];
    for (int index = 0; index < 4; ++index) {
        points[index].x = ToCoordinate(corners[index].x);
        points[index].y = ToCoordinate(corners[index].y);
    }
    points[4] = points[0];
    XSetForeground(m_display, m_gc, GetPixel(brush.colour));
    XFillPolygon(m_display, m_drawable, m_gc, points, 4, Convex, CoordModeOrigin);
    XDrawLines(m_display, m_drawable, m_gc, points, 5, CoordModeOrigin);
}

void CXlibSurface::DrawLine(const BrushDescription& brush, DevicePoint from, DevicePoint to)
{
    // The GC's cap style CapNotLast leaves the end point out, as a Windows line does.
    XSetForeground(m_display, m_gc, GetPixel(brush.colour));
    XDrawLine(m_display, m_drawable, m_gc, ToCoordinate(from.x), ToCoordinate(from.y), ToCoordinate(to.x),
              ToCoordinate(to.y));
}

void CXlibSurface::DrawOpaqueText(int32_t x, int32_t y, const char* text, int32_t length, Colour textColour,
                                  Colour backColour)
{
    XSetForeground(m_display, m_gc, GetPixel(textColour));
    XSetBackground(m_display, m_gc, GetPixel(backColour));
    // X places text by its baseline; the scene gives the top left corner.
    XDrawImageString(m_display, m_drawable, m_gc, x, y + m_fontAscent, text, length);
}

void CXlibSurface::FillRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom, Colour colour)
{
    if (right <= left || bottom <= top)
        return;
    XSetForeground(m_display, m_gc, GetPixel(colour));
    XFillRectangle(m_display, m_drawable, m_gc, left, top, static_cast<unsigned>(right - left),
                   static_cast<unsigned>(bottom - top));
}

#include "CairoSurface.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

CCairoSurface::CCairoSurface(cairo_surface_t* target, double fontSize)
    : m_cairo(cairo_create(target)), m_target(target), m_fontSize(fontSize)
{
    cairo_set_antialias(m_cairo, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(m_cairo, 1.0);
    cairo_set_line_cap(m_cairo, CAIRO_LINE_CAP_SQUARE);
    cairo_set_line_join(m_cairo, CAIRO_LINE_JOIN_MITER);
    cairo_select_font_face(m_cairo, "monospace", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    m_drawn.SetBounds(cairo_image_surface_get_width(target), cairo_image_surface_get_height(target));
}

CCairoSurface::~CCairoSurface()
{
    cairo_destroy(m_cairo);
}

void CCairoSurface::SetColour(Colour colour)
{
    cairo_set_source_rgb(m_cairo, RedOf(colour) / 255.0, GreenOf(colour) / 255.0, BlueOf(colour) / 255.0);
}

void CCairoSurface::RecordPath(double margin)
{
    double left = 0, top = 0, right = 0, bottom = 0;
    cairo_path_extents(m_cairo, &left, &top, &right, &bottom);
    m_drawn.Add({static_cast<int32_t>(std::floor(left - margin)), static_cast<int32_t>(std::floor(top - margin)),
                 static_cast<int32_t>(std::ceil(right + margin)), static_cast<int32_t>(std::ceil(bottom + margin))});
}

void CCairoSurface::FillBox(int32_t left, int32_t top, int32_t right, int32_t bottom, Colour colour)
{
    const int32_t width = cairo_image_surface_get_width(m_target);
    const int32_t height = cairo_image_surface_get_height(m_target);
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width - 1);
    bottom = std::min(bottom, height - 1);
    if (right < left || bottom < top)
        return;
    m_drawn.Add({left, top, right + 1, bottom + 1});
    // The target's pixels are 32-bit words: an unused byte, then red, green and blue. The unused
    // byte is set as cairo sets it, opaque, for compositors that read the buffer with alpha
    // (weston's software renderer shows a pixel whose top byte is 0 as black).
    const uint32_t pixel = 0xFF000000u | (static_cast<uint32_t>(RedOf(colour)) << 16) |
                           (static_cast<uint32_t>(GreenOf(colour)) << 8) | BlueOf(colour);
    cairo_surface_flush(m_target);
    unsigned char* data = cairo_image_surface_get_data(m_target);
    const int32_t stride = cairo_image_surface_get_stride(m_target);
    for (int32_t y = top; y <= bottom; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        std::fill(row + left, row + right + 1, pixel);
    }
    cairo_surface_mark_dirty_rectangle(m_target, left, top, right - left + 1, bottom - top + 1);
}

void CCairoSurface::DrawPolygon(const BrushDescription& brush, const DevicePoint corners[4])
{
    // An upright box, its corners in either turning order, is filled directly.
    const bool upright = (corners[0].y == corners[1].y && corners[1].x == corners[2].x &&
                          corners[2].y == corners[3].y && corners[3].x == corners[0].x) ||
                         (corners[0].x == corners[1].x && corners[1].y == corners[2].y &&
                          corners[2].x == corners[3].x && corners[3].y == corners[0].y);
    if (upright) {
        FillBox(std::min(corners[0].x, corners[2].x), std::min(corners[0].y, corners[2].y),
                std::max(corners[0].x, corners[2].x), std::max(corners[0].y, corners[2].y), brush.colour);
        return;
    }
    // Through the pixels' centres: filled and outlined with a pen one pixel wide, the shape
    // covers its corner pixels inclusive, as the scene's polygons do everywhere.
    cairo_new_path(m_cairo);
    for (int index = 0; index < 4; ++index) {
        const double x = corners[index].x + 0.5;
        const double y = corners[index].y + 0.5;
        if (index == 0)
            cairo_move_to(m_cairo, x, y);
        else
            cairo_line_to(m_cairo, x, y);
    }
    cairo_close_path(m_cairo);
    RecordPath(1.0);
    SetColour(brush.colour);
    cairo_fill_preserve(m_cairo);
    cairo_stroke(m_cairo);
}

void CCairoSurface::DrawLine(const BrushDescription& brush, DevicePoint from, DevicePoint to)
{
    // The end point is left out: the line stops half a pixel short of its centre.
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length < 1.0)
        return;
    const double endX = to.x - dx / length;
    const double endY = to.y - dy / length;
    cairo_new_path(m_cairo);
    cairo_move_to(m_cairo, from.x + 0.5, from.y + 0.5);
    cairo_line_to(m_cairo, endX + 0.5, endY + 0.5);
    RecordPath(1.0);
    SetColour(brush.colour);
    cairo_stroke(m_cairo);
}

void CCairoSurface::MeasureText(const char* text, int32_t& width, int32_t& height)
{
    cairo_set_font_size(m_cairo, m_fontSize);
    cairo_font_extents_t font{};
    cairo_font_extents(m_cairo, &font);
    cairo_text_extents_t extents{};
    cairo_text_extents(m_cairo, text, &extents);
    width = static_cast<int32_t>(std::ceil(extents.x_advance));
    height = static_cast<int32_t>(std::ceil(font.ascent + font.descent));
}

void CCairoSurface::DrawOpaqueText(int32_t x, int32_t y, const char* text, int32_t length, Colour textColour,
                                   Colour backColour)
{
    const std::string line(text, static_cast<size_t>(length > 0 ? length : 0));
    cairo_set_font_size(m_cairo, m_fontSize);
    cairo_font_extents_t font{};
    cairo_font_extents(m_cairo, &font);
    cairo_text_extents_t extents{};
    cairo_text_extents(m_cairo, line.c_str(), &extents);
    const double left = x;
    const double top = y;
    // The background box is the text's advance by the font's line height, so that a shorter line
    // drawn over a longer one keeps no stale characters inside the box.
    cairo_new_path(m_cairo);
    cairo_rectangle(m_cairo, left, top, std::ceil(extents.x_advance), std::ceil(font.ascent + font.descent));
    RecordPath(0.0);
    SetColour(backColour);
    cairo_fill(m_cairo);
    // Text is the one thing drawn with smooth edges: its box is repainted whole each time.
    cairo_set_antialias(m_cairo, CAIRO_ANTIALIAS_GRAY);
    SetColour(textColour);
    cairo_move_to(m_cairo, left, top + std::round(font.ascent));
    cairo_show_text(m_cairo, line.c_str());
    cairo_new_path(m_cairo);
    cairo_set_antialias(m_cairo, CAIRO_ANTIALIAS_NONE);
}

void CCairoSurface::FillRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom, Colour colour)
{
    FillBox(left, top, right - 1, bottom - 1, colour);
}

void CCairoSurface::Clear(Colour colour)
{
    SetColour(colour);
    cairo_paint(m_cairo);
    m_drawn.AddAll();
}

void CCairoSurface::ReleaseFontCaches()
{
    cairo_debug_reset_static_data();
    FcFini();
}

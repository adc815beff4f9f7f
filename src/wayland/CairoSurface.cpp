#include "CairoSurface.h"

#include <fontconfig/fontconfig.h>

#include <cmath>
#include <string>

CCairoSurface::CCairoSurface(cairo_surface_t* target, double fontSize)
    : m_cairo(cairo_create(target)), m_placement{1.0, 0.0, 0.0}, m_fontSize(fontSize)
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

void CCairoSurface::DrawPolygon(const BrushDescription& brush, const DevicePoint corners[4])
{
    // Through the pixels' centres: filled and outlined with a pen one output pixel wide, the shape
    // covers its corner pixels inclusive, as the scene's polygons do everywhere.
    cairo_identity_matrix(m_cairo);
    cairo_new_path(m_cairo);
    for (int index = 0; index < 4; ++index) {
        const double x = (corners[index].x + 0.5) * m_placement.scale + m_placement.offsetX;
        const double y = (corners[index].y + 0.5) * m_placement.scale + m_placement.offsetY;
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
    cairo_identity_matrix(m_cairo);
    cairo_new_path(m_cairo);
    cairo_move_to(m_cairo, (from.x + 0.5) * m_placement.scale + m_placement.offsetX,
                  (from.y + 0.5) * m_placement.scale + m_placement.offsetY);
    cairo_line_to(m_cairo, (endX + 0.5) * m_placement.scale + m_placement.offsetX,
                  (endY + 0.5) * m_placement.scale + m_placement.offsetY);
    RecordPath(1.0);
    SetColour(brush.colour);
    cairo_stroke(m_cairo);
}

void CCairoSurface::MeasureText(const char* text, int32_t& width, int32_t& height)
{
    cairo_identity_matrix(m_cairo);
    cairo_set_font_size(m_cairo, m_fontSize);
    cairo_font_extents_t font{};
    cairo_font_extents(m_cairo, &font);
    cairo_text_extents_t extents{};
    cairo_text_extents(m_cairo, text, &extents);
    width = static_cast<int32_t>(std::ceil(extents.x_advance / m_placement.scale));
    height = static_cast<int32_t>(std::ceil((font.ascent + font.descent) / m_placement.scale));
}

void CCairoSurface::DrawOpaqueText(int32_t x, int32_t y, const char* text, int32_t length, Colour textColour,
                                   Colour backColour)
{
    const std::string line(text, static_cast<size_t>(length > 0 ? length : 0));
    cairo_identity_matrix(m_cairo);
    cairo_set_font_size(m_cairo, m_fontSize * m_placement.scale);
    cairo_font_extents_t font{};
    cairo_font_extents(m_cairo, &font);
    cairo_text_extents_t extents{};
    cairo_text_extents(m_cairo, line.c_str(), &extents);
    const double left = std::floor(x * m_placement.scale + m_placement.offsetX);
    const double top = std::floor(y * m_placement.scale + m_placement.offsetY);
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
    if (right <= left || bottom <= top)
        return;
    cairo_identity_matrix(m_cairo);
    cairo_new_path(m_cairo);
    const double x0 = std::round(left * m_placement.scale + m_placement.offsetX);
    const double y0 = std::round(top * m_placement.scale + m_placement.offsetY);
    const double x1 = std::round(right * m_placement.scale + m_placement.offsetX);
    const double y1 = std::round(bottom * m_placement.scale + m_placement.offsetY);
    cairo_rectangle(m_cairo, x0, y0, x1 - x0, y1 - y0);
    RecordPath(0.0);
    SetColour(colour);
    cairo_fill(m_cairo);
}

void CCairoSurface::Clear(Colour colour)
{
    cairo_identity_matrix(m_cairo);
    SetColour(colour);
    cairo_paint(m_cairo);
    m_drawn.AddAll();
}

void CCairoSurface::ReleaseFontCaches()
{
    cairo_debug_reset_static_data();
    FcFini();
}

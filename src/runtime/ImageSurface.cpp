#include "ImageSurface.h"

#include <algorithm>

CImageSurface::CImageSurface(int32_t width, int32_t height)
    : m_width(width > 0 ? width : 0), m_height(height > 0 ? height : 0), m_fills(), m_hasText(false), m_textCorner{0, 0}
{
}

void CImageSurface::DrawPolygon(const BrushDescription& brush, const DevicePoint corners[4])
{
    int32_t left = corners[0].x, right = corners[0].x, top = corners[0].y, bottom = corners[0].y;
    for (int index = 1; index < 4; ++index) {
        left = std::min(left, corners[index].x);
        right = std::max(right, corners[index].x);
        top = std::min(top, corners[index].y);
        bottom = std::max(bottom, corners[index].y);
    }
    FillRectangle(left, top, right + 1, bottom + 1, brush.colour);
}

void CImageSurface::DrawLine(const BrushDescription& brush, DevicePoint from, DevicePoint to)
{
    // The scene draws upright lines only, for boxes too narrow to fill.
    if (from.x != to.x)
        return;
    if (from.y < to.y)
        FillRectangle(from.x, from.y, from.x + 1, to.y, brush.colour);
    else
        FillRectangle(from.x, to.y + 1, from.x + 1, from.y + 1, brush.colour);
}

void CImageSurface::DrawOpaqueText(int32_t x, int32_t y, const char*, int32_t, Colour, Colour)
{
    if (m_hasText)
        return;
    m_hasText = true;
    m_textCorner = {x, y};
}

void CImageSurface::FillRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom, Colour colour)
{
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, m_width);
    bottom = std::min(bottom, m_height);
    if (left < right && top < bottom)
        m_fills.push_back({left, top, right, bottom, colour});
}

void CImageSurface::ReadRow(int32_t y, Colour* row) const
{
    std::fill(row, row + m_width, Colour{0});
    for (const Fill& fill : m_fills) {
        if (y >= fill.top && y < fill.bottom)
            std::fill(row + fill.left, row + fill.right, fill.colour);
    }
}

bool CImageSurface::GetTextCorner(DevicePoint& corner) const
{
    corner = m_textCorner;
    return m_hasText;
}

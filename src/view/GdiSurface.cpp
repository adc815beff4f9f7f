#include "GdiSurface.h"

#include <algorithm>

namespace {
// The pen and brush of one shape: made from the brush description, selected for the shape's
// lifetime, then the device context's previous objects go back and both are deleted.
class CShapeTools {
public:
    CShapeTools(HDC dc, const BrushDescription& brush) : m_dc(dc)
    {
        LOGBRUSH description{};
        description.lbStyle = brush.style;
        description.lbColor = brush.colour;
        description.lbHatch = static_cast<ULONG_PTR>(brush.hatch);
        m_pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND, 1, &description, 0, nullptr);
        m_brush = CreateSolidBrush(brush.colour);
        m_previousPen = SelectObject(m_dc, m_pen);
        m_previousBrush = SelectObject(m_dc, m_brush);
    }
    ~CShapeTools()
    {
        SelectObject(m_dc, m_previousBrush);
        SelectObject(m_dc, m_previousPen);
        DeleteObject(m_brush);
        DeleteObject(m_pen);
    }
    CShapeTools(const CShapeTools&) = delete;
    CShapeTools& operator=(const CShapeTools&) = delete;

private:
    HDC m_dc;
    HPEN m_pen;
    HBRUSH m_brush;
    HGDIOBJ m_previousPen;
    HGDIOBJ m_previousBrush;
};

// The corners' bounds, widened by the 1-unit pen on every side.
RECT OutlineBounds(const DevicePoint* corners, int count)
{
    RECT bounds = {corners[0].x, corners[0].y, corners[0].x, corners[0].y};
    for (int index = 1; index < count; ++index) {
        bounds.left = std::min<LONG>(bounds.left, corners[index].x);
        bounds.top = std::min<LONG>(bounds.top, corners[index].y);
        bounds.right = std::max<LONG>(bounds.right, corners[index].x);
        bounds.bottom = std::max<LONG>(bounds.bottom, corners[index].y);
    }
    return {bounds.left - 1, bounds.top - 1, bounds.right + 2, bounds.bottom + 2};
}
} // namespace

void CGdiSurface::NoteDrawn(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    const RECT shape = {left, top, right, bottom};
    UnionRect(&m_drawn, &m_drawn, &shape);
}

void CGdiSurface::DrawPolygon(const BrushDescription& brush, const DevicePoint corners[4])
{
    CShapeTools tools(m_dc, brush);
    SetPolyFillMode(m_dc, ALTERNATE);
    POINT points[4];
    for (int index = 0; index < 4; ++index) {
        points[index].x = corners[index].x;
        points[index].y = corners[index].y;
    }
    Polygon(m_dc, points, 4);
    const RECT bounds = OutlineBounds(corners, 4);
    NoteDrawn(bounds.left, bounds.top, bounds.right, bounds.bottom);
}

void CGdiSurface::DrawLine(const BrushDescription& brush, DevicePoint from, DevicePoint to)
{
    CShapeTools tools(m_dc, brush);
    MoveToEx(m_dc, from.x, from.y, nullptr);
    LineTo(m_dc, to.x, to.y);
    const DevicePoint ends[2] = {from, to};
    const RECT bounds = OutlineBounds(ends, 2);
    NoteDrawn(bounds.left, bounds.top, bounds.right, bounds.bottom);
}

void CGdiSurface::DrawOpaqueText(int32_t x, int32_t y, const char* text, int32_t length, Colour textColour,
                                 Colour backColour)
{
    // Background mode and font stay the device context's defaults: opaque, system font.
    SetBkColor(m_dc, backColour);
    SetTextColor(m_dc, textColour);
    SetTextAlign(m_dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    TextOutA(m_dc, x, y, text, length);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(m_dc, text, length, &size);
    NoteDrawn(x, y, x + size.cx, y + size.cy);
}

void CGdiSurface::FillRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom, Colour colour)
{
    const RECT area{left, top, right, bottom};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(m_dc, &area, brush);
    DeleteObject(brush);
    NoteDrawn(left, top, right, bottom);
}

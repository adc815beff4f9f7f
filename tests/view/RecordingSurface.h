#pragma once
#include <string>
#include <vector>

#include "view/Surface.h"

// One call made on a CRecordingSurface.
struct RecordedShape {
    enum Kind { POLYGON, LINE, TEXT, FILL };
    Kind kind;
    Colour colour;     // brush colour; text colour; fill colour
    Colour backColour; // text only
    uint32_t brushStyle;
    int32_t brushHatch;
    DevicePoint points[4]; // polygon: corners; line: from, to; text: position; fill: left top, right bottom
    std::string text;

    int32_t CentreX() const { return (points[0].x + points[2].x) / 2; }
    int32_t CentreY() const { return (points[0].y + points[2].y) / 2; }
    int32_t HalfWidth() const { return (points[2].x - points[0].x) / 2; }
    int32_t HalfHeight() const { return (points[2].y - points[0].y) / 2; }
};

// Records every call so that tests can check what the scene drew, where and in which colour.
class CRecordingSurface : public CSurface {
public:
    void DrawPolygon(const BrushDescription& brush, const DevicePoint corners[4]) override
    {
        RecordedShape shape = Brushed(RecordedShape::POLYGON, brush);
        for (int index = 0; index < 4; ++index) {
            shape.points[index] = corners[index];
        }
        m_shapes.push_back(shape);
    }
    void DrawLine(const BrushDescription& brush, DevicePoint from, DevicePoint to) override
    {
        RecordedShape shape = Brushed(RecordedShape::LINE, brush);
        shape.points[0] = from;
        shape.points[1] = to;
        m_shapes.push_back(shape);
    }
    void DrawOpaqueText(int32_t x, int32_t y, const char* text, int32_t length, Colour textColour,
                        Colour backColour) override
    {
        RecordedShape shape{};
        shape.kind = RecordedShape::TEXT;
        shape.colour = textColour;
        shape.backColour = backColour;
        shape.points[0] = {x, y};
        shape.text.assign(text, static_cast<size_t>(length));
        m_shapes.push_back(shape);
    }
    void FillRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom, Colour colour) override
    {
        RecordedShape shape{};
        shape.kind = RecordedShape::FILL;
        shape.colour = colour;
        shape.points[0] = {left, top};
        shape.points[1] = {right, bottom};
        m_shapes.push_back(shape);
    }

    std::vector<RecordedShape> m_shapes;

private:
    static RecordedShape Brushed(RecordedShape::Kind kind, const BrushDescription& brush)
    {
        RecordedShape shape{};
        shape.kind = kind;
        shape.colour = brush.colour;
        shape.brushStyle = brush.style;
        shape.brushHatch = brush.hatch;
        return shape;
    }
};

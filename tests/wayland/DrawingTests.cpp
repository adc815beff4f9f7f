#include <gtest/gtest.h>

#include <cairo.h>

#include <algorithm>
#include <vector>

#include "wayland/CairoSurface.h"
#include "wayland/DrawnArea.h"

// What the Wayland saver draws on its canvas, and the areas it copies and marks damaged.
namespace {

constexpr Colour RED = MakeColour(200, 0, 0);
constexpr Colour NAVY = MakeColour(0, 0, 128);

bool operator==(const PixelRect& a, const PixelRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool Inside(const CDrawnArea& area, int32_t x, int32_t y)
{
    for (int index = 0; index < area.GetCount(); ++index) {
        const PixelRect& rect = area.GetRect(index);
        if (x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom)
            return true;
    }
    return false;
}

// cairo's font caches live until the process ends unless freed.
class FontCacheRelease : public ::testing::Environment {
public:
    void TearDown() override { CCairoSurface::ReleaseFontCaches(); }
};
const ::testing::Environment* const g_fontCacheRelease = ::testing::AddGlobalTestEnvironment(new FontCacheRelease);

class CanvasTest : public ::testing::Test {
protected:
    CanvasTest() : m_canvas(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 64, 48)), m_surface(m_canvas, 12.0) {}
    ~CanvasTest() override { cairo_surface_destroy(m_canvas); }

    Colour At(int32_t x, int32_t y)
    {
        cairo_surface_flush(m_canvas);
        const auto* row = cairo_image_surface_get_data(m_canvas) + y * cairo_image_surface_get_stride(m_canvas);
        const uint32_t pixel = reinterpret_cast<const uint32_t*>(row)[x];
        return MakeColour((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    // The pixels of `colour`: their count and bounding box.
    PixelRect Find(Colour colour, int& count)
    {
        PixelRect box{64, 48, 0, 0};
        count = 0;
        for (int32_t y = 0; y < 48; ++y) {
            for (int32_t x = 0; x < 64; ++x) {
                if (At(x, y) != colour)
                    continue;
                ++count;
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                       std::max(box.bottom, y + 1)};
            }
        }
        return box;
    }

    cairo_surface_t* m_canvas;
    CCairoSurface m_surface;
};

void DrawBox(CSurface& surface, Colour colour, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    const DevicePoint corners[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    surface.DrawPolygon({BRUSH_STYLE_SOLID, colour, 0}, corners);
}

TEST_F(CanvasTest, PolygonCoversItsCornersInclusiveAndItsErasingLeavesNothing)
{
    m_surface.Clear(NAVY);
    m_surface.ClearDrawn();
    DrawBox(m_surface, RED, 10, 5, 20, 9);
    int count = 0;
    const PixelRect box = Find(RED, count);
    EXPECT_TRUE(box == (PixelRect{10, 5, 21, 10}) && count == 11 * 5);
    // Opaque in the byte a compositor may read as alpha, as cairo's own fills leave it.
    cairo_surface_flush(m_canvas);
    const auto* row = cairo_image_surface_get_data(m_canvas) + 7 * cairo_image_surface_get_stride(m_canvas);
    EXPECT_EQ(reinterpret_cast<const uint32_t*>(row)[12] >> 24, 0xFFu);
    // Every pixel it changed is in the drawn area, which is at most a pixel wider on each side.
    for (int32_t y = box.top; y < box.bottom; ++y)
        for (int32_t x = box.left; x < box.right; ++x)
            EXPECT_TRUE(Inside(m_surface.GetDrawn(), x, y)) << x << "," << y;
    EXPECT_LE(m_surface.GetDrawn().GetArea(), 13 * 7);
    // Drawn again in the background colour, the shape is gone without a trace.
    DrawBox(m_surface, NAVY, 10, 5, 20, 9);
    Find(RED, count);
    EXPECT_EQ(count, 0);
}

TEST_F(CanvasTest, LineLeavesOutItsEndPointAndTextStaysInItsDrawnArea)
{
    m_surface.Clear(NAVY);
    m_surface.ClearDrawn();
    m_surface.DrawLine({BRUSH_STYLE_SOLID, RED, 0}, {5, 10}, {5, 20});
    int count = 0;
    EXPECT_TRUE(Find(RED, count) == (PixelRect{5, 10, 6, 20}));
    m_surface.Clear(NAVY);
    m_surface.ClearDrawn();
    m_surface.DrawOpaqueText(8, 30, "People=5", 8, RED, MakeColour(0, 80, 0));
    const PixelRect text = Find(RED, count);
    EXPECT_GT(count, 10);
    EXPECT_TRUE(Inside(m_surface.GetDrawn(), text.left, text.top));
    EXPECT_TRUE(Inside(m_surface.GetDrawn(), text.right - 1, text.bottom - 1));
}

TEST(DrawnAreaTest, KeepsDistantShapesApartJoinsTouchingOnesAndCutsToTheBuffer)
{
    CDrawnArea area;
    area.SetBounds(100, 100);
    area.Add({10, 10, 20, 20});
    area.Add({20, 10, 30, 20}); // touches the first
    area.Add({80, 80, 90, 90});
    area.Add({95, -5, 120, 5}); // partly outside
    area.Add({200, 200, 210, 210});
    ASSERT_EQ(area.GetCount(), 3);
    EXPECT_EQ(area.GetArea(), 200 + 100 + 25);
    // Past the limit (rows of people, and a car far above), every pixel added stays inside, and
    // the rows are not joined with the car into one box over the building.
    const int32_t rows = CDrawnArea::RECT_LIMIT / 40 + 1;
    CDrawnArea many;
    many.SetBounds(1000, 1000);
    many.Add({900, 10, 960, 50});
    for (int32_t index = 0; index < 40 * rows; ++index)
        many.Add({index % 40 * 20, 900 - index / 40 * 50, index % 40 * 20 + 5, 940 - index / 40 * 50});
    EXPECT_LE(many.GetCount(), CDrawnArea::RECT_LIMIT);
    for (int32_t index = 0; index < 40 * rows; ++index)
        EXPECT_TRUE(Inside(many, index % 40 * 20 + 4, 939 - index / 40 * 50)) << index;
    EXPECT_TRUE(Inside(many, 959, 10));
    EXPECT_LE(many.GetArea(), (800 * 40 + 60 * 40) * rows);
}

TEST(DrawnAreaTest, RectanglesThatAJoinMakesMeetAreJoinedAgainAndNoneOverlap)
{
    // Two boxes apart; a third bridges them, and the first join then meets the other.
    const PixelRect cases[][3] = {{{0, 0, 10, 10}, {30, 0, 40, 10}, {8, 2, 32, 4}},
                                  {{50, 50, 60, 60}, {0, 0, 10, 10}, {5, 5, 55, 55}}};
    for (const auto& test : cases) {
        CDrawnArea area;
        area.SetBounds(100, 100);
        for (const PixelRect& rect : test)
            area.Add(rect);
        ASSERT_EQ(area.GetCount(), 1);
        EXPECT_TRUE(Inside(area, test[0].left, test[0].top) && Inside(area, test[1].right - 1, test[1].bottom - 1));
    }
}

TEST(DrawnAreaTest, KeepsOnlyThePixelsWhereTheNewPictureDiffers)
{
    constexpr int32_t WIDTH = 40, HEIGHT = 30;
    std::vector<uint32_t> shown(WIDTH * HEIGHT, 0x80), drawn = shown;
    drawn[12 * WIDTH + 7] = 0xFF0000;  // one pixel changed inside the first rectangle
    drawn[14 * WIDTH + 9] = 0x00FF00;  // and another, further right and down
    drawn[25 * WIDTH + 39] = 0x0000FF; // the last pixel of a row, in the third
    CDrawnArea area;
    area.SetBounds(WIDTH, HEIGHT);
    area.Add({0, 10, 20, 20});  // two changed pixels
    area.Add({25, 0, 35, 5});   // drawn again as it was
    area.Add({30, 22, 40, 28}); // one changed pixel at its right edge
    area.KeepDiffering(drawn.data(), WIDTH, shown.data(), WIDTH);
    ASSERT_EQ(area.GetCount(), 2);
    EXPECT_EQ(area.GetArea(), 3 * 3 + 1);
    EXPECT_TRUE(Inside(area, 7, 12) && Inside(area, 9, 14) && Inside(area, 39, 25));
    EXPECT_FALSE(Inside(area, 6, 12) || Inside(area, 10, 14) || Inside(area, 30, 2));

    // A car two rows lower differs in the two rows at its old top and the two below its old
    // bottom: the rows between, as they were, are left out once there are ROWS_APART of them.
    const auto drawCar = [&](int32_t top, int32_t height) {
        std::vector<uint32_t> picture = shown;
        for (int32_t y = top; y < top + height; ++y)
            std::fill(picture.begin() + y * WIDTH + 5, picture.begin() + y * WIDTH + 15, 0xFF);
        return picture;
    };
    for (const int32_t height : {CDrawnArea::ROWS_APART + 2, CDrawnArea::ROWS_APART + 1}) {
        const std::vector<uint32_t> before = drawCar(2, height), after = drawCar(4, height);
        CDrawnArea car;
        car.SetBounds(WIDTH, HEIGHT);
        car.Add({5, 2, 15, 4 + height});
        car.KeepDiffering(after.data(), WIDTH, before.data(), WIDTH);
        const bool apart = height - 2 >= CDrawnArea::ROWS_APART;
        EXPECT_EQ(car.GetCount(), apart ? 2 : 1) << height;
        EXPECT_EQ(car.GetArea(), (apart ? 4 : height + 2) * 10) << height;
    }
}

} // namespace

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "SceneTestSupport.h"
#include "view/GdiSurface.h"

namespace {

// A 32-bit top-down bitmap selected into a memory device context.
class CMemoryCanvas {
public:
    CMemoryCanvas(int32_t width, int32_t height) : m_width(width), m_height(height)
    {
        m_dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_previousBitmap = SelectObject(m_dc, m_bitmap);
    }
    ~CMemoryCanvas()
    {
        SelectObject(m_dc, m_previousBitmap);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    CMemoryCanvas(const CMemoryCanvas&) = delete;
    CMemoryCanvas& operator=(const CMemoryCanvas&) = delete;

    HDC GetDc() const { return m_dc; }
    Colour PixelAt(int32_t x, int32_t y) const { return static_cast<Colour>(GetPixel(m_dc, x, y)); }
    int32_t CountPixels(int32_t left, int32_t top, int32_t right, int32_t bottom, Colour colour) const
    {
        int32_t count = 0;
        for (int32_t y = top; y < bottom; ++y) {
            for (int32_t x = left; x < right; ++x) {
                count += PixelAt(x, y) == colour ? 1 : 0;
            }
        }
        return count;
    }
    int32_t m_width;
    int32_t m_height;

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_previousBitmap;
};

// How many more GDI objects the process may create: made by creating brushes until the system
// refuses, then deleting them all again. Wine reports no per-process GDI object count, so the
// free room is the measure that works both there and on Windows.
int32_t CountFreeGdiHandles()
{
    std::vector<HBRUSH> brushes;
    brushes.reserve(70000);
    for (;;) {
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        if (brush == nullptr || brushes.size() >= 200000) {
            break;
        }
        brushes.push_back(brush);
    }
    for (HBRUSH brush : brushes) {
        DeleteObject(brush);
    }
    return static_cast<int32_t>(brushes.size());
}

class GdiSurface : public SceneTest {
protected:
    // Width 670 gives a screen factor of 11: at scale 25 a person bar is three pixels wide.
    static constexpr int32_t WIDTH = 670;
    static constexpr int32_t HEIGHT = 560;
};

TEST_F(GdiSurface, PaintFillsTheDimmedBackgroundAndTheSlabs)
{
    CScene scene(DefaultViewSettings());
    CMemoryCanvas canvas(WIDTH, HEIGHT);
    CGdiSurface surface(canvas.GetDc());
    CScene::SetScreenFactorFromWidth(WIDTH);
    scene.Paint(surface, WIDTH, HEIGHT);
    EXPECT_EQ(canvas.PixelAt(WIDTH - 1, 0), MakeColour(0, 0, 96)) << "right of the slabs, above the top floor";
    EXPECT_EQ(canvas.PixelAt(WIDTH - 1, HEIGHT - 1), MakeColour(0, 0, 96));
    // Floor 1's slab centre: x (875 - 850) * 11 / 25 = 11, y (1187 - 100) * 11 / 25 = 478.
    EXPECT_EQ(canvas.PixelAt(11, 478), MakeColour(0, 0, 128));
}

TEST_F(GdiSurface, CarIsFilledWithItsDirectionColour)
{
    CScene scene(DefaultViewSettings());
    CMemoryCanvas canvas(WIDTH, HEIGHT);
    CGdiSurface surface(canvas.GetDc());
    CScene::SetScreenFactorFromWidth(WIDTH);
    scene.Paint(surface, WIDTH, HEIGHT);
    CLift& car = g_lifts[1];
    car.m_direction = 1;
    car.m_position = 280;
    car.m_target = 6;
    car.m_floor = 0;
    car.m_pause = 0;
    scene.DrawLift(surface, 1, true);
    scene.DrawLift(surface, 1, false);
    // Centre: x (875 + 150 + 100) * 11 / 25 = 495, y (1187 - 300) * 11 / 25 = 390.
    EXPECT_EQ(canvas.PixelAt(495, 390), COLOUR_GREEN);
    const int32_t halfWidth = 55 * 11 / 25;
    const int32_t halfHeight = 40 * 11 / 25;
    EXPECT_EQ(canvas.PixelAt(495 - halfWidth, 390 - halfHeight), COLOUR_GREEN) << "outline corner";
    EXPECT_EQ(canvas.PixelAt(495 + halfWidth, 390 + halfHeight), COLOUR_GREEN) << "outline corner";
    EXPECT_NE(canvas.PixelAt(495 + halfWidth + 2, 390), COLOUR_GREEN) << "nothing beyond the outline";
    // Its erased place (y (1187 - 280) * 11 / 25 = 399) shows the background colour below the new box.
    EXPECT_EQ(canvas.PixelAt(495, 399 + halfHeight), MakeColour(0, 0, 128));
}

TEST_F(GdiSurface, PersonBarTakesTheImpatienceColour)
{
    CScene scene(DefaultViewSettings());
    CMemoryCanvas canvas(WIDTH, HEIGHT);
    CGdiSurface surface(canvas.GetDc());
    CScene::SetScreenFactorFromWidth(WIDTH);
    scene.Paint(surface, WIDTH, HEIGHT);
    g_lifts[0].m_floor = g_lifts[1].m_floor = 7;
    g_lifts[0].m_position = g_lifts[1].m_position = 700;
    CPerson& person = g_people[2];
    person.m_floor = 3;
    person.m_destination = 5;
    person.m_assignedLift = 0;
    person.m_waitCount = 25; // the step makes it 26: (0, 255, 5) at temper 10
    scene.DrawPerson(surface, 2, true);
    scene.DrawPerson(surface, 2, false);
    // Centre: x (875 - 75 - 30) * 11 / 25 = 338, y (1187 - 300) * 11 / 25 = 390; 3 pixels wide.
    EXPECT_EQ(canvas.PixelAt(338, 390), MakeColour(0, 255, 5));
    EXPECT_EQ(canvas.PixelAt(337, 390), MakeColour(0, 255, 5));
    EXPECT_EQ(canvas.PixelAt(339, 390), MakeColour(0, 255, 5));
    EXPECT_EQ(canvas.PixelAt(341, 390), MakeColour(0, 0, 128)) << "the slab beside the bar";
}

TEST_F(GdiSurface, NarrowBarIsALineWithoutItsEndPoint)
{
    CScene scene(DefaultViewSettings());
    CMemoryCanvas canvas(400, 400);
    CGdiSurface surface(canvas.GetDc());
    g_scale = 25;
    g_screenFactor = 8;
    g_originX = 875;
    g_originY = 1187;
    surface.FillRectangle(0, 0, 400, 400, MakeColour(0, 0, 0));
    scene.m_drawBrush.colour = MakeColour(200, 100, 50);
    scene.DrawBox(surface, 500, 500, 3, 20); // x 160, y 160, half-height 6
    EXPECT_EQ(canvas.PixelAt(160, 154), MakeColour(200, 100, 50));
    EXPECT_EQ(canvas.PixelAt(160, 165), MakeColour(200, 100, 50));
    EXPECT_EQ(canvas.PixelAt(160, 166), MakeColour(0, 0, 0)) << "the end point is not set";
    EXPECT_EQ(canvas.PixelAt(161, 160), MakeColour(0, 0, 0)) << "one pixel wide";
    EXPECT_EQ(canvas.PixelAt(159, 160), MakeColour(0, 0, 0)) << "one pixel wide";
}

TEST_F(GdiSurface, LegendIsOliveTextOnTheBackgroundColour)
{
    CScene scene(DefaultViewSettings());
    CMemoryCanvas canvas(WIDTH, HEIGHT);
    CGdiSurface surface(canvas.GetDc());
    CScene::SetScreenFactorFromWidth(WIDTH);
    surface.FillRectangle(0, 0, WIDTH, HEIGHT, MakeColour(0, 0, 0));
    g_originY = 1187;
    const HGDIOBJ fontBefore = GetCurrentObject(canvas.GetDc(), OBJ_FONT);
    scene.RunLegendPass(surface);
    // Top left corner: x 10 * 11 / 25 = 4, y 1167 * 11 / 25 = 513.
    SIZE textSize{};
    char text[128];
    const int32_t length = scene.FormatLegend(text, sizeof(text));
    GetTextExtentPoint32A(canvas.GetDc(), text, length, &textSize);
    ASSERT_GT(textSize.cx, 100);
    const int32_t right = 4 + textSize.cx;
    const int32_t bottom = 513 + textSize.cy;
    EXPECT_GT(canvas.CountPixels(4, 513, right, bottom, COLOUR_OLIVE), 50);
    EXPECT_GT(canvas.CountPixels(4, 513, right, bottom, MakeColour(0, 0, 128)), textSize.cx * textSize.cy / 2)
        << "opaque background";
    EXPECT_EQ(canvas.CountPixels(0, 0, WIDTH, 513, COLOUR_OLIVE), 0) << "nothing above the top left corner";
    EXPECT_EQ(canvas.PixelAt(3, 513), MakeColour(0, 0, 0)) << "nothing left of the top left corner";
    EXPECT_EQ(GetTextAlign(canvas.GetDc()), static_cast<UINT>(TA_LEFT | TA_TOP | TA_NOUPDATECP));
    EXPECT_EQ(GetCurrentObject(canvas.GetDc(), OBJ_FONT), fontBefore) << "the default font is kept";
}

TEST_F(GdiSurface, ShapesPutTheDeviceContextsPenAndBrushBack)
{
    CScene scene(DefaultViewSettings());
    CMemoryCanvas canvas(200, 200);
    CGdiSurface surface(canvas.GetDc());
    UseIdentityMapping();
    const HGDIOBJ pen = GetCurrentObject(canvas.GetDc(), OBJ_PEN);
    const HGDIOBJ brush = GetCurrentObject(canvas.GetDc(), OBJ_BRUSH);
    scene.DrawBox(surface, 50, 50, 10, 10);
    EXPECT_EQ(GetCurrentObject(canvas.GetDc(), OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(canvas.GetDc(), OBJ_BRUSH), brush);
    scene.DrawBox(surface, 50, 50, 0, 10);
    EXPECT_EQ(GetCurrentObject(canvas.GetDc(), OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(canvas.GetDc(), OBJ_BRUSH), brush);
    EXPECT_EQ(GetPolyFillMode(canvas.GetDc()), ALTERNATE);
}

TEST_F(GdiSurface, AThousandBoxesLeaveTheGdiObjectCountUnchanged)
{
    CScene scene(DefaultViewSettings());
    CMemoryCanvas canvas(200, 200);
    CGdiSurface surface(canvas.GetDc());
    UseIdentityMapping();
    const DWORD countBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const int32_t freeBefore = CountFreeGdiHandles();
    ASSERT_GT(freeBefore, 2000);
    for (int32_t box = 0; box < 1000; ++box) {
        scene.m_drawBrush.colour = MakeColour(static_cast<uint32_t>(box), 0, 0);
        scene.DrawBox(surface, 100, 100, box % 2 == 0 ? 20 : 0, 20); // polygons and lines alike
    }
    surface.FillRectangle(0, 0, 200, 200, MakeColour(1, 1, 1));
    scene.DrawLegend(surface);
    EXPECT_EQ(CountFreeGdiHandles(), freeBefore);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), countBefore);
}

} // namespace

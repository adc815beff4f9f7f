#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

#include "../win/WindowTestSupport.h"
#include "SceneTestSupport.h"
#include "view/GdiSurface.h"

namespace {

// A 32-bit top-down bitmap selected into a memory device context.
class CMemoryCanvas {
public:
    CMemoryCanvas(int32_t width, int32_t height)
    {
        m_dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = static_cast<const uint32_t*>(bits);
        m_size = width * height;
        m_previousBitmap = SelectObject(m_dc, m_bitmap);
    }
    ~CMemoryCanvas()
    {
        SelectObject(m_dc, m_previousBitmap);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Colour PixelAt(int32_t x, int32_t y) const { return static_cast<Colour>(GetPixel(m_dc, x, y)); }
    int32_t CountPixels(int32_t left, int32_t top, int32_t right, int32_t bottom, Colour colour) const
    {
        int32_t count = 0;
        for (int32_t y = top; y < bottom; ++y)
            for (int32_t x = left; x < right; ++x)
                count += PixelAt(x, y) == colour ? 1 : 0;
        return count;
    }
    // Every pixel, row after row.
    std::vector<uint32_t> Pixels() const
    {
        GdiFlush();
        return std::vector<uint32_t>(m_bits, m_bits + m_size);
    }
    HDC m_dc;

private:
    const uint32_t* m_bits;
    int32_t m_size;
    HBITMAP m_bitmap;
    HGDIOBJ m_previousBitmap;
};

const Colour BACKGROUND = MakeColour(0, 0, 128);
const Colour BLACK = MakeColour(0, 0, 0);

// Width 670 gives a screen factor of 11: at scale 25 a person bar is three pixels wide.
class GdiSurface : public SceneTest {
protected:
    static constexpr int32_t WIDTH = 670, HEIGHT = 560;
    void PaintScene()
    {
        CScene::SetScreenFactorFromSize(WIDTH, HEIGHT);
        m_scene->Paint(m_surface, WIDTH, HEIGHT);
    }
    void SetUp() override
    {
        SceneTest::SetUp();
        m_scene.reset(new CScene(DefaultViewSettings()));
    }
    std::unique_ptr<CScene> m_scene;
    CMemoryCanvas m_canvas{WIDTH, HEIGHT};
    CGdiSurface m_surface{m_canvas.m_dc};
};

TEST_F(GdiSurface, PaintFillsTheDimmedBackgroundAndTheSlabsAndACarTakesItsDirectionColour)
{
    PaintScene();
    EXPECT_EQ(m_canvas.PixelAt(WIDTH - 1, 0), MakeColour(0, 0, 96)) << "right of the slabs, above the top floor";
    EXPECT_EQ(m_canvas.PixelAt(WIDTH - 1, HEIGHT - 1), MakeColour(0, 0, 96));
    EXPECT_EQ(m_canvas.PixelAt(11, 478), BACKGROUND) << "floor 1's slab: (875 - 850, 1187 - 100) * 11 / 25";

    CLift& car = g_lifts[1];
    car.m_direction = 1;
    car.m_position = 280;
    car.m_target = 6;
    car.m_floor = car.m_pause = 0;
    m_scene->DrawLift(m_surface, 1, true);
    m_scene->DrawLift(m_surface, 1, false);
    // Centre: x (875 + 150 + 100) * 11 / 25 = 495, y (1187 - 300) * 11 / 25 = 390.
    const int32_t halfWidth = 55 * 11 / 25, halfHeight = 40 * 11 / 25;
    EXPECT_EQ(m_canvas.PixelAt(495, 390), COLOUR_GREEN);
    EXPECT_EQ(m_canvas.PixelAt(495 - halfWidth, 390 - halfHeight), COLOUR_GREEN) << "outline corner";
    EXPECT_EQ(m_canvas.PixelAt(495 + halfWidth, 390 + halfHeight), COLOUR_GREEN) << "outline corner";
    EXPECT_NE(m_canvas.PixelAt(495 + halfWidth + 2, 390), COLOUR_GREEN) << "nothing beyond the outline";
    EXPECT_EQ(m_canvas.PixelAt(495, 399 + halfHeight), BACKGROUND) << "its erased place (y 399) below the new box";
}

TEST_F(GdiSurface, PersonBarTakesTheImpatienceColour)
{
    PaintScene();
    g_lifts[0].m_floor = g_lifts[1].m_floor = 7;
    g_lifts[0].m_position = g_lifts[1].m_position = 700;
    CPerson& person = g_people[2];
    person.m_floor = 3;
    person.m_destination = 5;
    person.m_assignedLift = 0;
    person.m_waitCount = 25; // the step makes it 26: (0, 255, 5) at temper 10
    m_scene->DrawPerson(m_surface, 2, true);
    m_scene->DrawPerson(m_surface, 2, false);
    // Centre: x (875 - 75 - 30) * 11 / 25 = 338, y (1187 - 300) * 11 / 25 = 390; 3 pixels wide.
    for (int32_t x : {337, 338, 339})
        EXPECT_EQ(m_canvas.PixelAt(x, 390), MakeColour(0, 255, 5)) << x;
    EXPECT_EQ(m_canvas.PixelAt(341, 390), BACKGROUND) << "the slab beside the bar";
}

TEST_F(GdiSurface, NarrowBarIsALineWithoutItsEndPoint)
{
    g_scale = 25;
    g_screenFactor = 8;
    g_originX = 875;
    g_originY = 1187;
    m_surface.FillRectangle(0, 0, 400, 400, BLACK);
    m_scene->m_drawBrush.colour = MakeColour(200, 100, 50);
    m_scene->DrawBox(m_surface, 500, 500, 3, 20); // x 160, y 160, half-height 6
    EXPECT_EQ(m_canvas.PixelAt(160, 154), MakeColour(200, 100, 50));
    EXPECT_EQ(m_canvas.PixelAt(160, 165), MakeColour(200, 100, 50));
    EXPECT_EQ(m_canvas.PixelAt(160, 166), BLACK) << "the end point is not set";
    EXPECT_EQ(m_canvas.PixelAt(161, 160), BLACK) << "one pixel wide";
    EXPECT_EQ(m_canvas.PixelAt(159, 160), BLACK) << "one pixel wide";
}

TEST_F(GdiSurface, LegendIsOpaqueOliveTextOnTheBackgroundFromItsTopLeftCorner)
{
    CScene::SetScreenFactorFromSize(WIDTH, HEIGHT);
    m_surface.FillRectangle(0, 0, WIDTH, HEIGHT, BLACK);
    g_originY = 1187;
    const HGDIOBJ fontBefore = GetCurrentObject(m_canvas.m_dc, OBJ_FONT);
    m_scene->RunLegendPass(m_surface);
    // Top left corner: x 10 * 11 / 25 = 4, y 1167 * 11 / 25 = 513.
    SIZE textSize{};
    char text[128];
    const int32_t length = m_scene->FormatLegend(text, sizeof(text));
    GetTextExtentPoint32A(m_canvas.m_dc, text, length, &textSize);
    ASSERT_GT(textSize.cx, 100);
    const int32_t right = 4 + textSize.cx, bottom = 513 + textSize.cy;
    EXPECT_GT(m_canvas.CountPixels(4, 513, right, bottom, COLOUR_OLIVE), 50);
    EXPECT_GT(m_canvas.CountPixels(4, 513, right, bottom, BACKGROUND), textSize.cx * textSize.cy / 2);
    EXPECT_EQ(m_canvas.CountPixels(0, 0, WIDTH, 513, COLOUR_OLIVE), 0) << "nothing above the top left corner";
    EXPECT_EQ(m_canvas.PixelAt(3, 513), BLACK) << "nothing left of the top left corner";
    EXPECT_EQ(GetTextAlign(m_canvas.m_dc), static_cast<UINT>(TA_LEFT | TA_TOP | TA_NOUPDATECP));
    EXPECT_EQ(GetCurrentObject(m_canvas.m_dc, OBJ_FONT), fontBefore) << "the default font is kept";
}

TEST_F(GdiSurface, AThousandBoxesPutPenAndBrushBackAndLeaveTheGdiObjectCountUnchanged)
{
    UseIdentityMapping();
    const HGDIOBJ pen = GetCurrentObject(m_canvas.m_dc, OBJ_PEN);
    const HGDIOBJ brush = GetCurrentObject(m_canvas.m_dc, OBJ_BRUSH);
    const DWORD countBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const int freeBefore = CountFreeGdiHandles();
    ASSERT_GT(freeBefore, 2000);
    for (int32_t box = 0; box < 1000; ++box) {
        m_scene->m_drawBrush.colour = MakeColour(static_cast<uint32_t>(box), 0, 0);
        m_scene->DrawBox(m_surface, 100, 100, box % 2 == 0 ? 20 : 0, 20); // polygons and lines alike
    }
    EXPECT_EQ(GetCurrentObject(m_canvas.m_dc, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(m_canvas.m_dc, OBJ_BRUSH), brush);
    EXPECT_EQ(GetPolyFillMode(m_canvas.m_dc), ALTERNATE);
    m_scene->DrawLegend(m_surface);
    EXPECT_EQ(CountFreeGdiHandles(), freeBefore);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), countBefore);
}

// The other monitors get a copy of what a pass drew, taken from its drawn bounds alone.
TEST_F(GdiSurface, NoTimerPassChangesAPixelOutsideItsDrawnBounds)
{
    PaintScene();
    g_lifts[0].m_direction = 1; // a car on its way from floor 1 to floor 6
    g_lifts[0].m_position = 100;
    g_lifts[0].m_target = 6;
    void (CScene::*passes[])(CSurface&) = {&CScene::RunLiftPass, &CScene::RunPeoplePass, &CScene::RunLegendPass};
    for (auto pass : passes) {
        const std::vector<uint32_t> before = m_canvas.Pixels();
        CGdiSurface surface(m_canvas.m_dc);
        (m_scene.get()->*pass)(surface);
        const std::vector<uint32_t> after = m_canvas.Pixels();
        int32_t changed = 0, outside = 0;
        for (int32_t index = 0; index < WIDTH * HEIGHT; ++index) {
            if (after[index] == before[index])
                continue;
            ++changed;
            outside += PtInRect(&surface.GetDrawnBounds(), POINT{index % WIDTH, index / WIDTH}) ? 0 : 1;
        }
        EXPECT_GT(changed, 0) << "each pass draws something new on a freshly painted scene";
        EXPECT_EQ(outside, 0);
    }
}

} // namespace

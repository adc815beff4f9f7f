#include <gtest/gtest.h>

#include <cstring>

#include "RecordingSurface.h"
#include "SceneTestSupport.h"

namespace {

using Geometry = SceneTest;

TEST_F(Geometry, MappingMultipliesFirstTruncatesTowardZeroAndSurvivesOddScalesAndHugeFactors)
{
    // 3 * 16 / 25 = 1 where dividing first would give 0; -52.5 truncates toward zero, not down; a
    // scale below 1 counts as 1; the product of a huge factor must not overflow 32 bits.
    const struct {
        int32_t scale, factor, world, device;
    } cases[] = {{25, 16, 3, 1},
                 {25, 16, 1187, 759},
                 {20, 7, 150, 52},
                 {20, 7, -150, -52},
                 {20, 7, -3, -1},
                 {20, 7, -2, 0},
                 {0, 5, 7, 35},
                 {-4, 5, 7, 35},
                 {25, 1000000, 2375, 95000000},
                 {25, 1000000, -2375, -95000000}};
    for (const auto& mapping : cases) {
        g_scale = mapping.scale;
        g_screenFactor = mapping.factor;
        EXPECT_EQ(MapToDevice(mapping.world), mapping.device)
            << mapping.world << " at scale " << mapping.scale << ", factor " << mapping.factor;
    }
}

TEST_F(Geometry, ScreenFactorFollowsTheWidthOfAtMostAFourByThreeArea)
{
    const struct {
        int32_t width;
        int32_t height;
        int32_t factor;
    } cases[] = {// 4:3 and narrower: the client width alone.
                 {0, 0, 1},
                 {66, 600, 1},
                 {67, 600, 2},
                 {334, 300, 5},
                 {335, 300, 6},
                 {640, 480, 10},
                 {800, 600, 12},
                 {1024, 768, 16},
                 {1280, 1024, 20},
                 {180, 135, 3},
                 {152, 112, 3},
                 {768, 1024, 12},
                 {1080, 1920, 17},
                 // Wider: the width of a 4:3 area of the height (height * 4 / 3, truncated).
                 {1280, 720, 15},
                 {1366, 768, 16},
                 {1920, 1080, 22},
                 {1920, 1200, 24},
                 {2560, 1440, 29},
                 {3440, 1440, 29},
                 {3840, 2160, 43},
                 {1000, 0, 1},
                 {2147483647, 2147483647, 32051995}};
    for (const auto& sizeCase : cases) {
        CScene::SetScreenFactorFromSize(sizeCase.width, sizeCase.height);
        EXPECT_EQ(g_screenFactor, sizeCase.factor) << sizeCase.width << " x " << sizeCase.height;
    }
}

TEST_F(Geometry, EachOfABoxsNumbersIsMappedOnItsOwn)
{
    CScene scene(DefaultViewSettings());
    g_scale = 25;
    g_screenFactor = 16;
    CRecordingSurface surface;
    scene.DrawBox(surface, 3, 3, 3, 3);
    ASSERT_EQ(surface.m_shapes.size(), 1u);
    const RecordedShape& box = surface.m_shapes[0];
    ASSERT_EQ(box.kind, RecordedShape::POLYGON);
    // Centre 1, half-extent 1: corners 0 and 2, where mapping the corners (0 and 6) would give 0 and 3.
    const DevicePoint expected[4] = {{0, 0}, {2, 0}, {2, 2}, {0, 2}};
    for (int index = 0; index < 4; ++index)
        EXPECT_TRUE(box.points[index].x == expected[index].x && box.points[index].y == expected[index].y) << index;
}

TEST_F(Geometry, NarrowBoxBecomesAVerticalLineOfItsMappedHeight)
{
    CScene scene(DefaultViewSettings());
    g_scale = 25;
    g_originX = 875;
    g_originY = 1187;
    CRecordingSurface surface;

    // A person (half-width 3) at screen factor 8: 3 * 8 / 25 = 0, a line.
    g_screenFactor = 8;
    scene.DrawPerson(surface, 0, true);
    ASSERT_EQ(surface.m_shapes.size(), 1u);
    const RecordedShape& line = surface.m_shapes[0];
    EXPECT_EQ(line.kind, RecordedShape::LINE);
    const int32_t x = (875 - 75) * 8 / 25;
    const int32_t y = (1187 - 100) * 8 / 25;
    const int32_t halfHeight = 20 * 8 / 25;
    EXPECT_EQ(line.points[0].x, x);
    EXPECT_EQ(line.points[1].x, x);
    EXPECT_EQ(line.points[0].y, y - halfHeight);
    EXPECT_EQ(line.points[1].y, y + halfHeight);
    EXPECT_EQ(line.colour, scene.m_backColour);

    // At factor 9 the half-width maps to 1: a polygon two units wide.
    surface.m_shapes.clear();
    g_screenFactor = 9;
    scene.DrawPerson(surface, 0, true);
    ASSERT_EQ(surface.m_shapes.size(), 1u);
    EXPECT_EQ(surface.m_shapes[0].kind, RecordedShape::POLYGON);
    EXPECT_EQ(surface.m_shapes[0].HalfWidth(), 1);

    surface.m_shapes.clear();
    UseIdentityMapping();
    scene.DrawBox(surface, 10, 10, -5, 4);
    ASSERT_EQ(surface.m_shapes.size(), 1u);
    EXPECT_EQ(surface.m_shapes[0].kind, RecordedShape::LINE) << "a negative half-width too";
}

TEST_F(Geometry, RidersStandNineUnitsApartAroundACentreTwoRightOfTheCar)
{
    CScene scene(DefaultViewSettings());
    UseIdentityMapping();
    const struct {
        int32_t load;
        std::vector<int32_t> offsets;
    } cases[] = {
        {1, {2}},
        {2, {-7, 2}},
        {3, {-7, 2, 11}},
        {10, {-43, -34, -25, -16, -7, 2, 11, 20, 29, 38}},
    };
    for (const auto& riderCase : cases) {
        for (int32_t liftIndex : {0, 3}) {
            CRecordingSurface surface;
            for (int32_t rider = 0; rider < riderCase.load; ++rider) {
                scene.DrawRider(surface, liftIndex, rider, riderCase.load, 400);
            }
            ASSERT_EQ(surface.m_shapes.size(), riderCase.offsets.size());
            const int32_t carCentre = 150 * liftIndex + 100;
            for (size_t rider = 0; rider < riderCase.offsets.size(); ++rider) {
                const RecordedShape& bar = surface.m_shapes[rider];
                EXPECT_EQ(bar.CentreX() - carCentre, riderCase.offsets[rider])
                    << "load " << riderCase.load << " rider " << rider << " lift " << liftIndex;
                EXPECT_EQ(bar.CentreY(), 400);
                EXPECT_EQ(bar.HalfWidth(), 3);
                EXPECT_EQ(bar.HalfHeight(), 20);
                EXPECT_EQ(bar.colour, COLOUR_GREY);
                // Every bar stays inside the car (half-width 55).
                EXPECT_GE(bar.points[0].x, carCentre - 55);
                EXPECT_LE(bar.points[2].x, carCentre + 55);
            }
        }
    }
}

TEST_F(Geometry, ShapesFollowTheShapeTable)
{
    CScene scene(DefaultViewSettings());
    UseIdentityMapping();
    g_originX = 1000;
    g_originY = 2000;
    CRecordingSurface surface;
    scene.DrawFloor(surface, 3);
    scene.DrawCallButton(surface, 3, true);
    scene.DrawCallButton(surface, 3, false);
    ASSERT_EQ(surface.m_shapes.size(), 3u);
    const RecordedShape& slab = surface.m_shapes[0];
    EXPECT_EQ(slab.CentreX(), 150);
    EXPECT_EQ(slab.CentreY(), 1700);
    EXPECT_EQ(slab.HalfWidth(), 800);
    EXPECT_EQ(slab.HalfHeight(), 40);
    EXPECT_EQ(slab.colour, scene.m_backColour);
    EXPECT_EQ(surface.m_shapes[1].CentreX(), 1000);
    EXPECT_EQ(surface.m_shapes[1].CentreY(), 1680);
    EXPECT_EQ(surface.m_shapes[1].HalfWidth(), 15);
    EXPECT_EQ(surface.m_shapes[2].CentreY(), 1720);
    EXPECT_EQ(surface.m_shapes[2].HalfHeight(), 15);

    // Person 99, the last slot, still lies on the slab (which spans originX-1650..originX-50).
    surface.m_shapes.clear();
    scene.DrawPerson(surface, 99, true);
    ASSERT_EQ(surface.m_shapes.size(), 1u);
    EXPECT_EQ(surface.m_shapes[0].CentreX(), 1000 - 75 - 15 * 99);
    EXPECT_GE(surface.m_shapes[0].points[0].x, 1000 - 1650);
    EXPECT_EQ(surface.m_shapes[0].CentreY(), 2000 - 100) << "a new person stands on floor 1";
}

TEST_F(Geometry, LayoutOn1024By768)
{
    CScene scene(DefaultViewSettings());
    CScene::SetScreenFactorFromSize(1024, 768);
    CRecordingSurface surface;
    scene.Paint(surface, 1024, 768);
    EXPECT_EQ(g_screenFactor, 16);
    EXPECT_EQ(g_originX, 875);
    EXPECT_EQ(g_originY, 1187);
    EXPECT_EQ(MapToDevice(g_originY), 759) << "the ground line sits near the bottom edge";
    EXPECT_EQ(MapToDevice(g_originX), 560);
    // Slab centres lie 64 device units apart: floor 1 at (1187-100)*16/25.
    ASSERT_EQ(surface.m_shapes.size(), 11u);
    EXPECT_EQ(surface.m_shapes[1].CentreY(), 1087 * 16 / 25);
}

TEST_F(Geometry, LayoutOn1920By1080KeepsFloorOneItsPeopleAndTheLegendOnScreen)
{
    CScene scene(DefaultViewSettings());
    CScene::SetScreenFactorFromSize(1920, 1080);
    CRecordingSurface surface;
    scene.Paint(surface, 1920, 1080);
    EXPECT_EQ(g_screenFactor, 22);
    EXPECT_EQ(MapToDevice(g_originY), 1044) << "the ground line";
    EXPECT_EQ(MapToDevice(g_originX), 35 * 22) << "the call column stays at 35 x factor";
    ASSERT_EQ(surface.m_shapes.size(), 11u); // fill, then floors 1..10
    const RecordedShape& floorOne = surface.m_shapes[1];
    EXPECT_EQ(floorOne.CentreY(), 1087 * 22 / 25);
    EXPECT_LT(floorOne.points[2].y, 1080) << "floor 1's slab lies wholly on screen";

    surface.m_shapes.clear();
    scene.DrawPerson(surface, 0, false);
    ASSERT_EQ(surface.m_shapes.size(), 1u);
    EXPECT_EQ(surface.m_shapes[0].CentreY(), 1087 * 22 / 25) << "a new person stands on floor 1";
    EXPECT_LT(surface.m_shapes[0].points[2].y, 1080);

    surface.m_shapes.clear();
    scene.DrawLegend(surface);
    ASSERT_EQ(surface.m_shapes.size(), 1u);
    EXPECT_EQ(surface.m_shapes[0].points[0].y, 1026) << "the legend's top, 20 units above the ground line";
}

TEST_F(Geometry, OriginsFollowTheScaleKeepingTheCallColumnInPlaceAndSlabsRunToNegativeCoordinates)
{
    const struct {
        int32_t scale;
        int32_t originX;
        int32_t originY;
    } cases[] = {{20, 700, 950}, {21, 735, 997}, {25, 875, 1187}, {50, 1750, 2375}};
    for (const auto& scaleCase : cases) {
        ViewSettings settings = DefaultViewSettings();
        settings.scale = scaleCase.scale;
        CScene scene(settings);
        CScene::SetScreenFactorFromSize(1024, 768);
        CRecordingSurface surface;
        scene.Paint(surface, 1024, 768);
        EXPECT_EQ(g_originX, scaleCase.originX) << "scale " << scaleCase.scale;
        EXPECT_EQ(g_originY, scaleCase.originY) << "scale " << scaleCase.scale;
        EXPECT_EQ(MapToDevice(g_originX), 35 * 16) << "scale " << scaleCase.scale;
    }

    ViewSettings settings = DefaultViewSettings();
    settings.scale = 20;
    CScene scene(settings);
    g_screenFactor = 7;
    CRecordingSurface surface;
    scene.Paint(surface, 400, 300);
    // The slabs run off the left edge: world centre x 700 - 850 = -150 maps to -52 (not -53);
    // half-width 800 * 7 / 20 = 280.
    EXPECT_EQ(surface.m_shapes[1].points[0].x, -52 - 280);
    EXPECT_EQ(surface.m_shapes[1].points[1].x, -52 + 280);
}

} // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "RecordingSurface.h"
#include "SceneTestSupport.h"
#include "view/NullSurface.h"

namespace {

using Drawing = SceneTest;

// Car 0 travelling: between floors 2 and 3, on its way to floor target.
void SetCarMoving(int32_t liftIndex, int32_t direction, int32_t position, int32_t target)
{
    CLift& car = g_lifts[liftIndex];
    car.m_direction = direction;
    car.m_position = position;
    car.m_target = target;
    car.m_floor = 0;
    car.m_pause = 0;
}

// Person k waiting at floor for a lift, going to destination.
void SetPersonWaiting(int32_t personIndex, int32_t floor, int32_t destination)
{
    CPerson& person = g_people[personIndex];
    person.m_floor = floor;
    person.m_destination = destination;
    person.m_assignedLift = 0;
    person.m_ridingLift = -1;
    person.m_waitCount = 0;
}

TEST_F(Drawing, LiftColoursShowDirectionOnlyWithColoursOn)
{
    const struct {
        int32_t colours;
        int32_t direction;
        Colour expected;
    } cases[] = {
        {1, 1, COLOUR_GREEN}, {1, -1, COLOUR_RED}, {0, 1, COLOUR_OLIVE}, {0, -1, COLOUR_OLIVE}, {1, 0, COLOUR_OLIVE},
    };
    for (const auto& colourCase : cases) {
        RestartModel();
        ViewSettings settings = DefaultViewSettings();
        settings.colours = colourCase.colours;
        CScene scene(settings);
        UseIdentityMapping();
        SetCarMoving(0, colourCase.direction, 400, colourCase.direction >= 0 ? 8 : 1);
        g_lifts[0].m_target = colourCase.direction == 0 ? 4 : g_lifts[0].m_target; // idle: standing at its target
        CRecordingSurface surface;
        scene.DrawLift(surface, 0, true);
        scene.DrawLift(surface, 0, false);
        ASSERT_EQ(surface.m_shapes.size(), 2u);
        EXPECT_EQ(surface.m_shapes[0].colour, scene.m_backColour) << "erase pass";
        EXPECT_EQ(surface.m_shapes[0].CentreY(), -400) << "erased where it stood";
        EXPECT_EQ(surface.m_shapes[1].colour, colourCase.expected)
            << "colours " << colourCase.colours << " direction " << colourCase.direction;
        EXPECT_EQ(surface.m_shapes[1].CentreY(), -(400 + 20 * colourCase.direction)) << "drawn where it moved";
        EXPECT_EQ(surface.m_shapes[1].CentreX(), 100);
        EXPECT_EQ(surface.m_shapes[1].HalfWidth(), 55);
        EXPECT_EQ(surface.m_shapes[1].HalfHeight(), 40);
    }
}

TEST_F(Drawing, ErasePassThatReturnsThreeLeavesTheCarAndTheDrawPassRedrawsIt)
{
    CScene scene(DefaultViewSettings());
    UseIdentityMapping();
    g_lifts[0].m_pause = 5; // standing at a stop: the erase pass reports 3
    g_lifts[0].m_load = 2;
    CRecordingSurface surface;
    scene.DrawLift(surface, 0, true);
    EXPECT_TRUE(surface.m_shapes.empty());
    scene.DrawLift(surface, 0, false);
    ASSERT_EQ(surface.m_shapes.size(), 3u) << "car and its two riders";
    EXPECT_EQ(surface.m_shapes[0].CentreY(), -100) << "at its unchanged place";
    EXPECT_EQ(surface.m_shapes[1].colour, COLOUR_GREY);
    EXPECT_EQ(surface.m_shapes[1].CentreX(), 100 + 2 - 9);
    EXPECT_EQ(surface.m_shapes[2].CentreX(), 100 + 2);

    g_lifts[0].m_pause = 0; // a moving car is erased, but its riders never are
    surface.m_shapes.clear();
    scene.DrawLift(surface, 0, true);
    ASSERT_EQ(surface.m_shapes.size(), 1u);
    EXPECT_EQ(surface.m_shapes[0].colour, scene.m_backColour);
}

TEST_F(Drawing, CallButtonsShowTheirStateWhateverTheColoursSetting)
{
    for (int32_t colours : {1, 0}) {
        RestartModel();
        ViewSettings settings = DefaultViewSettings();
        settings.colours = colours;
        CScene scene(settings);
        UseIdentityMapping();
        g_building.SetCall(3, 1, 1);
        g_building.SetCall(4, -1, 1);
        g_calls = 0;
        CRecordingSurface surface;
        scene.DrawCallButton(surface, 3, true);
        scene.DrawCallButton(surface, 3, false);
        scene.DrawCallButton(surface, 4, true);
        scene.DrawCallButton(surface, 4, false);
        ASSERT_EQ(surface.m_shapes.size(), 4u);
        EXPECT_EQ(surface.m_shapes[0].colour, COLOUR_GREEN) << "colours " << colours;
        EXPECT_EQ(surface.m_shapes[1].colour, scene.m_backColour);
        EXPECT_EQ(surface.m_shapes[2].colour, scene.m_backColour);
        EXPECT_EQ(surface.m_shapes[3].colour, COLOUR_RED) << "colours " << colours;
        EXPECT_EQ(g_calls, 2);
    }
}

TEST_F(Drawing, WaitingPersonTakesTheReportedColourOnlyWithColoursOn)
{
    for (int32_t colours : {1, 0}) {
        RestartModel();
        ViewSettings settings = DefaultViewSettings();
        settings.colours = colours;
        CScene scene(settings);
        UseIdentityMapping();
        g_lifts[0].m_floor = 6; // nobody can board at floor 2 this tick
        g_lifts[1].m_floor = 6;
        g_lifts[0].m_position = g_lifts[1].m_position = 600;
        SetPersonWaiting(4, 2, 5);
        g_waitStats = {0, 0};
        CRecordingSurface surface;
        scene.DrawPerson(surface, 4, true);
        scene.DrawPerson(surface, 4, false);
        ASSERT_EQ(surface.m_shapes.size(), 2u);
        EXPECT_EQ(surface.m_shapes[0].colour, scene.m_backColour);
        const Colour expected = colours != 0 ? MakeColour(0, 10, 0) : COLOUR_GREY;
        EXPECT_EQ(surface.m_shapes[1].colour, expected) << "colours " << colours;
        EXPECT_EQ(surface.m_shapes[1].CentreY(), -200);
        EXPECT_EQ(surface.m_shapes[1].CentreX(), -75 - 15 * 4);
        EXPECT_EQ(g_waitStats.count, 1);
        EXPECT_EQ(g_waitStats.sum, 1);
    }
}

TEST_F(Drawing, PersonWhoBoardsIsCountedButNotDrawn)
{
    CScene scene(DefaultViewSettings());
    UseIdentityMapping();
    SetPersonWaiting(0, 1, 5); // car 0 stands idle at floor 1
    g_people[0].m_waitCount = 6;
    g_waitStats = {0, 0};
    CRecordingSurface surface;
    scene.DrawPerson(surface, 0, false);
    EXPECT_TRUE(surface.m_shapes.empty());
    EXPECT_EQ(g_people[0].m_ridingLift, 0);
    EXPECT_EQ(g_waitStats.count, 1);
    EXPECT_EQ(g_waitStats.sum, 7);
}

TEST_F(Drawing, LiftPassErasesAndDrawsEachCarThenEveryButton)
{
    ViewSettings settings = DefaultViewSettings();
    settings.cars = 3;
    settings.floors = 6;
    CScene scene(settings);
    UseIdentityMapping();
    g_building.SetCall(5, 1, 1);
    g_building.SetCall(6, -1, 1);
    g_calls = 9;
    CRecordingSurface surface;
    scene.RunLiftPass(surface);
    ASSERT_EQ(surface.m_shapes.size(), 3u * 2 + 6 * 2);
    for (int32_t liftIndex = 0; liftIndex < 3; ++liftIndex) {
        const RecordedShape& erased = surface.m_shapes[2 * liftIndex];
        const RecordedShape& drawn = surface.m_shapes[2 * liftIndex + 1];
        EXPECT_EQ(erased.CentreX(), 150 * liftIndex + 100);
        EXPECT_EQ(erased.colour, scene.m_backColour);
        EXPECT_EQ(drawn.CentreX(), 150 * liftIndex + 100);
        EXPECT_NE(drawn.colour, scene.m_backColour);
    }
    for (int32_t floor = 1; floor <= 6; ++floor) {
        const RecordedShape& up = surface.m_shapes[6 + 2 * (floor - 1)];
        const RecordedShape& down = surface.m_shapes[7 + 2 * (floor - 1)];
        EXPECT_EQ(up.CentreY(), -100 * floor - 20);
        EXPECT_EQ(down.CentreY(), -100 * floor + 20);
        EXPECT_EQ(up.colour, floor == 5 ? COLOUR_GREEN : scene.m_backColour) << "floor " << floor;
        EXPECT_EQ(down.colour, floor == 6 ? COLOUR_RED : scene.m_backColour) << "floor " << floor;
    }
    EXPECT_EQ(g_calls, 2) << "counted afresh by the button pass";
}

TEST_F(Drawing, PeoplePassStartsItsWaitStatisticsAfreshAndStepsOnlyThePeopleCount)
{
    ViewSettings settings = DefaultViewSettings();
    settings.people = 10;
    CScene scene(settings);
    UseIdentityMapping();
    g_waitStats = {40, 400};
    CRecordingSurface surface;
    scene.RunPeoplePass(surface);
    EXPECT_EQ(surface.m_shapes.size(), 20u) << "every standing person erased and drawn";
    EXPECT_EQ(g_waitStats.count, 0);
    EXPECT_EQ(g_waitStats.sum, 0);
    // A person who was never stepped still has the countdown and destination of a new person.
    bool anyStepped = false;
    for (int32_t personIndex = 0; personIndex < 10; ++personIndex) {
        anyStepped |= g_people[personIndex].m_pause != -1 || g_people[personIndex].m_destination != 1;
    }
    EXPECT_TRUE(anyStepped);
    for (int32_t personIndex = 10; personIndex < MAX_PEOPLE; ++personIndex) {
        EXPECT_EQ(g_people[personIndex].m_pause, -1) << "person " << personIndex << " was stepped";
    }
}

TEST_F(Drawing, PaintDimsTheBackgroundToThreeQuartersAndDrawsTheSlabs)
{
    CScene scene(DefaultViewSettings());
    g_screenFactor = 10;
    CRecordingSurface surface;
    scene.Paint(surface, 640, 480);
    ASSERT_EQ(surface.m_shapes.size(), 11u);
    const RecordedShape& fill = surface.m_shapes[0];
    EXPECT_EQ(fill.kind, RecordedShape::FILL);
    EXPECT_EQ(fill.colour, MakeColour(0, 0, 96));
    EXPECT_EQ(fill.points[0].x, 0);
    EXPECT_EQ(fill.points[0].y, 0);
    EXPECT_EQ(fill.points[1].x, 640);
    EXPECT_EQ(fill.points[1].y, 480);
    for (int32_t floor = 1; floor <= 10; ++floor) {
        const RecordedShape& slab = surface.m_shapes[static_cast<size_t>(floor)];
        EXPECT_EQ(slab.colour, scene.m_backColour);
        EXPECT_EQ(slab.CentreY(), MapToDevice(g_originY - 100 * floor)) << "floors ascend";
    }

    scene.SetBackColour(MakeColour(255, 200, 13));
    EXPECT_EQ(scene.GetFillColour(), MakeColour(191, 150, 9));
}

// The device rectangle a recorded box or upright line covers: left, top, right, bottom.
struct Covered {
    int32_t left, top, right, bottom;
};
Covered CoveredBy(const RecordedShape& shape)
{
    if (shape.kind == RecordedShape::LINE)
        return {shape.points[0].x, shape.points[0].y, shape.points[1].x, shape.points[1].y};
    return {shape.points[0].x, shape.points[0].y, shape.points[2].x, shape.points[2].y};
}

TEST_F(Drawing, ShaftsAreExactlyWhereTheCarsAreErasedFromFloorOneToTheTop)
{
    const struct {
        int32_t floors, cars, scale, screenFactor;
    } cases[] = {{10, 2, 25, 16}, {25, 10, 33, 7}, {4, 3, 200, 1}}; // the last: cars as lines
    for (const auto& shaftCase : cases) {
        ViewSettings settings = DefaultViewSettings();
        settings.floors = shaftCase.floors;
        settings.cars = shaftCase.cars;
        settings.scale = shaftCase.scale;
        CScene scene(settings);
        g_screenFactor = shaftCase.screenFactor;
        CRecordingSurface surface;
        scene.Paint(surface, 2000, 2000);
        surface.m_shapes.clear();
        scene.DrawShafts(surface);
        ASSERT_EQ(surface.m_shapes.size(), static_cast<size_t>(shaftCase.cars)) << shaftCase.floors << " floors";
        for (int32_t lift = 0; lift < shaftCase.cars; ++lift) {
            const RecordedShape shaft = surface.m_shapes[static_cast<size_t>(lift)];
            EXPECT_EQ(shaft.colour, scene.m_backColour);
            const Covered shaftBox = CoveredBy(shaft);
            // A car erased at every place it can stand or pass: inside the shaft, and reaching
            // both its ends.
            Covered reach = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
            for (int32_t position = 100; position <= 100 * shaftCase.floors; position += 20) {
                CRecordingSurface erased;
                SetCarMoving(lift, 1, position, shaftCase.floors);
                scene.DrawLift(erased, lift, true);
                ASSERT_EQ(erased.m_shapes.size(), 1u);
                const Covered box = CoveredBy(erased.m_shapes[0]);
                EXPECT_TRUE(box.left == shaftBox.left && box.right == shaftBox.right && box.top >= shaftBox.top &&
                            box.bottom <= shaftBox.bottom)
                    << "lift " << lift << " at " << position << " of " << shaftCase.floors << " floors";
                reach = {box.left, std::min(reach.top, box.top), box.right, std::max(reach.bottom, box.bottom)};
            }
            EXPECT_EQ(reach.top, shaftBox.top);
            EXPECT_EQ(reach.bottom, shaftBox.bottom);
        }
    }
}

TEST_F(Drawing, ColoursOffPaintsFullStrengthWithoutSlabsForTheRestOfTheProcess)
{
    ViewSettings settings = DefaultViewSettings();
    settings.colours = 0;
    {
        CScene plain(settings);
        EXPECT_EQ(g_bgDivisor, 9);
        CRecordingSurface surface;
        plain.Paint(surface, 100, 100);
        ASSERT_EQ(surface.m_shapes.size(), 1u);
        EXPECT_EQ(surface.m_shapes[0].colour, MakeColour(0, 0, 128));
        // Turning colours on in a running view brings the slabs back but not the dimming.
        plain.SetColours(1);
        surface.m_shapes.clear();
        plain.Paint(surface, 100, 100);
        EXPECT_EQ(surface.m_shapes.size(), 11u);
        EXPECT_EQ(surface.m_shapes[0].colour, MakeColour(0, 0, 128));
    }
    CScene later(DefaultViewSettings());
    EXPECT_EQ(g_bgDivisor, 9) << "a later view of the process stays undimmed";
    EXPECT_EQ(later.GetFillColour(), MakeColour(0, 0, 128));
}

TEST_F(Drawing, LegendNeedsAScreenFactorOfSix)
{
    CScene scene(DefaultViewSettings());
    g_originY = 1187;
    CRecordingSurface surface;
    CScene::SetScreenFactorFromSize(334, 300);
    scene.RunLegendPass(surface);
    EXPECT_TRUE(surface.m_shapes.empty());
    CScene::SetScreenFactorFromSize(335, 300);
    scene.RunLegendPass(surface);
    ASSERT_EQ(surface.m_shapes.size(), 1u);
    const RecordedShape& legend = surface.m_shapes[0];
    EXPECT_EQ(legend.kind, RecordedShape::TEXT);
    EXPECT_EQ(legend.text, "  Ascenda Vintra | People=50 | Waiting= 0 | Calls= 0 | Ave Wait= 0   ");
    EXPECT_EQ(legend.points[0].x, 10 * 6 / 25);
    EXPECT_EQ(legend.points[0].y, (1187 - 20) * 6 / 25);
    EXPECT_EQ(legend.colour, COLOUR_OLIVE);
    EXPECT_EQ(legend.backColour, scene.m_backColour);

    surface.m_shapes.clear();
    scene.m_legend = 0;
    scene.RunLegendPass(surface);
    EXPECT_TRUE(surface.m_shapes.empty()) << "Legend off";
}

TEST_F(Drawing, LegendShowsThePeopleSettingAndTheAverageWait)
{
    ViewSettings settings = DefaultViewSettings();
    settings.people = 100;
    CScene scene(settings);
    g_screenFactor = 16;
    CRecordingSurface surface;

    g_waitStats = {1, 5};
    g_calls = 3;
    scene.DrawLegend(surface);
    g_waitStats = {3, 20};
    g_calls = 12;
    scene.DrawLegend(surface);
    g_waitStats = {99, 123456};
    scene.DrawLegend(surface);
    ASSERT_EQ(surface.m_shapes.size(), 3u);
    EXPECT_EQ(surface.m_shapes[0].text, "  Ascenda Vintra | People=100 | Waiting= 1 | Calls= 3 | Ave Wait= 2   ");
    EXPECT_EQ(surface.m_shapes[1].text, "  Ascenda Vintra | People=100 | Waiting= 3 | Calls=12 | Ave Wait= 5   ");
    EXPECT_EQ(surface.m_shapes[2].text, "  Ascenda Vintra | People=100 | Waiting=99 | Calls=12 | Ave Wait=1234   ");
}

TEST_F(Drawing, ConstructionSetsScaleAndResetsTheBuildingWithTheCarsLast)
{
    ViewSettings settings = DefaultViewSettings();
    settings.scale = 33;
    settings.cars = 4;
    settings.floors = 12;
    settings.driver = 3;
    g_building.SetCall(2, 1, 1);
    CScene scene(settings);
    EXPECT_EQ(g_scale, 33);
    EXPECT_EQ(g_liftCount, 4);
    EXPECT_EQ(g_building.m_liftCount, 4);
    EXPECT_EQ(g_building.m_floorCount, 12);
    EXPECT_EQ(g_building.m_driverMode, 3);
    EXPECT_EQ(g_building.QueryCall(2, 1), 0);
    EXPECT_EQ(g_bgDivisor, 12);
    EXPECT_EQ(scene.m_backColour, MakeColour(0, 0, 128));
}

TEST_F(Drawing, SettersResetTheModelWhereItNeedsIt)
{
    CScene scene(DefaultViewSettings());
    scene.SetCars(0);
    EXPECT_EQ(g_liftCount, 1) << "at least one car";
    EXPECT_EQ(g_building.m_liftCount, 1);
    scene.SetCars(7);
    g_building.SetCall(3, 1, 1);
    scene.SetDriver(0, 5);
    EXPECT_EQ(g_building.QueryCall(3, 1), 0) << "an unchanged driver still clears the buttons";
    scene.SetDriver(2, 0);
    EXPECT_EQ(g_building.m_driverMode, 2);
    g_building.SetCall(3, -1, 1);
    scene.SetCustom(20, 3, 40, 700, 9);
    EXPECT_EQ(g_building.m_floorCount, 20);
    EXPECT_EQ(g_building.m_liftCount, 7);
    EXPECT_EQ(g_building.QueryCall(3, -1), 0);
    scene.SetScale(42);
    EXPECT_EQ(g_scale, 42);
    scene.SetColours(0);
    EXPECT_EQ(g_bgDivisor, 12) << "only construction switches the dimming off";
}

TEST_F(Drawing, CountsBeyondTheModelsTablesAreHeldAtTheTables)
{
    ViewSettings settings = DefaultViewSettings();
    settings.people = 1000;
    settings.floors = 40;
    settings.cars = 50;
    CScene scene(settings);
    EXPECT_EQ(scene.m_people, MAX_PEOPLE);
    EXPECT_EQ(scene.m_floors, MAX_FLOORS - 1);
    EXPECT_EQ(g_liftCount, MAX_LIFTS);
    scene.SetPeople(101);
    scene.SetCars(11);
    scene.SetCustom(30, 15, 50, 500, 10);
    EXPECT_EQ(scene.m_people, MAX_PEOPLE);
    EXPECT_EQ(g_liftCount, MAX_LIFTS);
    EXPECT_EQ(scene.m_floors, MAX_FLOORS - 1);
    // A full pass over the held counts stays inside the tables (the sanitizer build checks this).
    UseIdentityMapping();
    CRecordingSurface surface;
    scene.RunLiftPass(surface);
    scene.RunPeoplePass(surface);
    EXPECT_EQ(surface.m_shapes.size(), static_cast<size_t>(MAX_LIFTS * 2 + (MAX_FLOORS - 1) * 2 + MAX_PEOPLE * 2));
}

} // namespace

namespace {

struct PassOutcome {
    int32_t calls[200];
    int32_t waitCounts[200];
    int32_t waitSums[200];
    int32_t positions[MAX_LIFTS];
    int32_t floors[MAX_PEOPLE];
};

// Runs a mixed sequence of lift and people passes on a surface and notes the legend's counters
// after every pass and where everything ended up.
PassOutcome RunPasses(CSurface& surface)
{
    RestartModel();
    RestartScene();
    ViewSettings settings = DefaultViewSettings();
    settings.people = 100;
    settings.cars = 4;
    settings.floors = 12;
    settings.driver = 3;
    CScene scene(settings);
    CScene::SetScreenFactorFromSize(800, 600);
    scene.Paint(surface, 800, 600);
    PassOutcome outcome{};
    for (int32_t pass = 0; pass < 200; ++pass) {
        for (int32_t liftTick = 0; liftTick < 5; ++liftTick) {
            scene.RunLiftPass(surface);
        }
        scene.RunPeoplePass(surface);
        scene.RunLegendPass(surface);
        outcome.calls[pass] = g_calls;
        outcome.waitCounts[pass] = g_waitStats.count;
        outcome.waitSums[pass] = g_waitStats.sum;
    }
    for (int32_t liftIndex = 0; liftIndex < MAX_LIFTS; ++liftIndex) {
        outcome.positions[liftIndex] = g_lifts[liftIndex].m_position;
    }
    for (int32_t personIndex = 0; personIndex < MAX_PEOPLE; ++personIndex) {
        outcome.floors[personIndex] = g_people[personIndex].m_floor;
    }
    return outcome;
}

TEST_F(Drawing, ASurfaceThatShowsNothingStepsTheModelExactlyAsTheScreenDoes)
{
    CRecordingSurface recording;
    const PassOutcome shown = RunPasses(recording);
    CNullSurface nothing;
    const PassOutcome hidden = RunPasses(nothing);
    EXPECT_GT(recording.m_shapes.size(), 10000u);
    int32_t activePasses = 0;
    for (int32_t pass = 0; pass < 200; ++pass) {
        EXPECT_EQ(hidden.calls[pass], shown.calls[pass]) << "pass " << pass;
        EXPECT_EQ(hidden.waitCounts[pass], shown.waitCounts[pass]) << "pass " << pass;
        EXPECT_EQ(hidden.waitSums[pass], shown.waitSums[pass]) << "pass " << pass;
        activePasses += shown.waitCounts[pass] > 0 ? 1 : 0;
    }
    EXPECT_GT(activePasses, 50) << "people were waiting in most passes";
    for (int32_t liftIndex = 0; liftIndex < MAX_LIFTS; ++liftIndex) {
        EXPECT_EQ(hidden.positions[liftIndex], shown.positions[liftIndex]);
    }
    for (int32_t personIndex = 0; personIndex < MAX_PEOPLE; ++personIndex) {
        EXPECT_EQ(hidden.floors[personIndex], shown.floors[personIndex]);
    }
}

} // namespace

#include "Scene.h"

#include <cstdio>

#include "sim/Building.h"

int32_t g_scale = 20;
int32_t g_screenFactor = 0;
int32_t g_originX = 0;
int32_t g_originY = 0;
int32_t g_bgDivisor = 12;
int32_t g_liftCount = 2;
WaitStats g_waitStats = {0, 0};
int32_t g_calls = 0;

namespace {
// Screens narrower than this factor (335 pixels) have no room for the legend line.
constexpr int32_t LEGEND_MIN_SCREEN_FACTOR = 6;
constexpr int32_t STEP_NOT_DRAWN = 3; // StepLift / StepPerson: leave the object as it is

// Shape table, world units.
constexpr int32_t SLAB_OFFSET_X = 850, SLAB_HALF_WIDTH = 800, SLAB_HALF_HEIGHT = 40;
constexpr int32_t BUTTON_OFFSET_Y = 20, BUTTON_HALF_SIZE = 15;
constexpr int32_t CAR_SPACING = 150, CAR_OFFSET_X = 100, CAR_HALF_WIDTH = 55, CAR_HALF_HEIGHT = 40;
constexpr int32_t RIDER_OFFSET_X = 102, RIDER_SPACING = 9;
constexpr int32_t PERSON_OFFSET_X = 75, PERSON_SPACING = 15;
constexpr int32_t BAR_HALF_WIDTH = 3, BAR_HALF_HEIGHT = 20; // riders and people
constexpr int32_t LEGEND_X = 10, LEGEND_ABOVE_GROUND = 20;

// The fill's divisor while Colours is on (the background dimmed to 9/12) and while it is off.
constexpr uint32_t DIMMED_DIVISOR = 12, FULL_DIVISOR = 9;

Colour GetFill(Colour back, uint32_t divisor)
{
    return MakeColour(RedOf(back) * 9 / divisor, GreenOf(back) * 9 / divisor, BlueOf(back) * 9 / divisor);
}

// Counts the model's tables can hold. Values from the dialogs and from the limited load always
// fit; these keep a caller that passes anything else from stepping records that do not exist.
// The highest usable floor is one below the table size because floors count from 1.
int32_t LimitTo(int32_t value, int32_t minimum, int32_t maximum)
{
    return value < minimum ? minimum : (value > maximum ? maximum : value);
}
constexpr int32_t MAX_FLOOR_NUMBER = MAX_FLOORS - 1;

// The world position of the call-button column and the ground line at a scale.
int32_t GetOriginX(int32_t scale)
{
    return 140 * scale / 4;
}
int32_t GetOriginY(int32_t scale)
{
    return 190 * scale / 4;
}
} // namespace

void RestartScene()
{
    g_scale = 20;
    g_screenFactor = 0;
    g_originX = 0;
    g_originY = 0;
    g_bgDivisor = 12;
    g_liftCount = 2;
    g_waitStats = {0, 0};
    g_calls = 0;
}

int32_t MapToDevice(int32_t world)
{
    return MapToDevice(world, g_scale, g_screenFactor);
}

int32_t MapToDevice(int32_t world, int32_t scale, int32_t screenFactor)
{
    // A scale below 1 can only come from outside the program; dividing by it would end the
    // process, so it maps as 1. The product is formed in 64 bits so that no screen width, however
    // large, overflows it; within the 32-bit range the result is the same.
    const int64_t divisor = scale < 1 ? 1 : scale;
    return static_cast<int32_t>(static_cast<int64_t>(world) * screenFactor / divisor);
}

CScene::CScene(const ViewSettings& settings)
    : m_people(LimitTo(settings.people, 0, MAX_PEOPLE)), m_driver(settings.driver), m_capacity(settings.capacity),
      m_colours(settings.colours), m_legend(settings.legend), m_floors(LimitTo(settings.floors, 0, MAX_FLOOR_NUMBER)),
      m_liftPause(settings.liftPause), m_passPause(settings.passPause), m_passInterval(settings.passInterval),
      m_temper(settings.temper), m_drawBrush{BRUSH_STYLE_SOLID, COLOUR_INITIAL_BRUSH, 0},
      m_backColour(settings.backColour), m_shownLifts{}, m_shownPeople{}, m_litUp{}, m_litDown{}
{
    g_scale = settings.scale;
    // Once any view of the process has run without colours, the background stays undimmed.
    if (settings.colours == 0) {
        g_bgDivisor = FULL_DIVISOR;
    }
    // Last: resets the building with the floors and driver set above.
    SetCars(settings.cars);
}

void CScene::DrawBox(CSurface& dc, int32_t x, int32_t y, int32_t halfWidth, int32_t halfHeight)
{
    if (!dc.ShowsShapes()) {
        return; // the headless runner spends half its time here otherwise
    }
    const int32_t halfWidthDevice = MapToDevice(halfWidth);
    const int32_t centreX = MapToDevice(x);
    const int32_t centreY = MapToDevice(y);
    const int32_t halfHeightDevice = MapToDevice(halfHeight);
    if (halfWidthDevice >= 1) {
        const DevicePoint corners[4] = {
            {centreX - halfWidthDevice, centreY - halfHeightDevice},
            {centreX + halfWidthDevice, centreY - halfHeightDevice},
            {centreX + halfWidthDevice, centreY + halfHeightDevice},
            {centreX - halfWidthDevice, centreY + halfHeightDevice},
        };
        dc.DrawPolygon(m_drawBrush, corners);
        return;
    }
    // Too narrow for a polygon: a vertical line of the mapped height.
    dc.DrawLine(m_drawBrush, {centreX, centreY - halfHeightDevice}, {centreX, centreY + halfHeightDevice});
}

void CScene::DrawFloor(CSurface& dc, int32_t floor)
{
    m_drawBrush.colour = m_backColour;
    DrawBox(dc, g_originX - SLAB_OFFSET_X, g_originY - FLOOR_HEIGHT * floor, SLAB_HALF_WIDTH, SLAB_HALF_HEIGHT);
}

void CScene::DrawCallButton(CSurface& dc, int32_t floor, bool up)
{
    const bool lit = up ? g_building.QueryCall(floor, 1) > 0 : g_building.QueryCall(floor, -1) < 0;
    if (lit) {
        ++g_calls;
    }
    if (floor >= 0 && floor < MAX_FLOORS) {
        (up ? m_litUp : m_litDown)[floor] = lit;
    }
    // Asked here, not only in DrawBox: the headless runner passes every button of every tick.
    if (dc.ShowsShapes()) {
        DrawCallButtonBox(dc, floor, up, lit);
    }
}

void CScene::DrawCallButtonBox(CSurface& dc, int32_t floor, bool up, bool lit)
{
    const int32_t floorLine = g_originY - FLOOR_HEIGHT * floor;
    if (up) {
        m_drawBrush.colour = lit ? COLOUR_GREEN : m_backColour;
        DrawBox(dc, g_originX, floorLine - BUTTON_OFFSET_Y, BUTTON_HALF_SIZE, BUTTON_HALF_SIZE);
        return;
    }
    m_drawBrush.colour = lit ? COLOUR_RED : m_backColour;
    DrawBox(dc, g_originX, floorLine + BUTTON_OFFSET_Y, BUTTON_HALF_SIZE, BUTTON_HALF_SIZE);
}

Colour CScene::GetCarColour(int32_t direction) const
{
    if (direction < 0 && m_colours != 0) {
        return COLOUR_RED;
    }
    if (direction > 0 && m_colours != 0) {
        return COLOUR_GREEN;
    }
    return COLOUR_OLIVE;
}

void CScene::DrawLift(CSurface& dc, int32_t liftIndex, bool erase)
{
    int32_t direction = 0;
    int32_t position = 0;
    int32_t load = 0;
    const int32_t result =
        g_building.StepLift(liftIndex, erase ? 1 : 0, direction, position, load, m_capacity, m_liftPause);
    if (result == STEP_NOT_DRAWN) {
        return;
    }
    if (erase) {
        m_drawBrush.colour = m_backColour;
        DrawCar(dc, liftIndex, position, 0); // the car's box covers its riders
        return;
    }
    m_drawBrush.colour = GetCarColour(direction);
    DrawCar(dc, liftIndex, position, load);
    if (liftIndex >= 0 && liftIndex < MAX_LIFTS) {
        m_shownLifts[liftIndex] = {true, position, direction, load};
    }
}

void CScene::DrawCar(CSurface& dc, int32_t liftIndex, int32_t position, int32_t load)
{
    const int32_t carY = g_originY - position;
    DrawBox(dc, g_originX + CAR_SPACING * liftIndex + CAR_OFFSET_X, carY, CAR_HALF_WIDTH, CAR_HALF_HEIGHT);
    for (int32_t riderIndex = 0; riderIndex < load; ++riderIndex) {
        DrawRider(dc, liftIndex, riderIndex, load, carY);
    }
}

void CScene::DrawRider(CSurface& dc, int32_t liftIndex, int32_t riderIndex, int32_t load, int32_t carY)
{
    m_drawBrush.colour = COLOUR_GREY;
    // The middle rider stands 2 units right of the car's centre, the others 9 units apart.
    const int32_t x = g_originX + CAR_SPACING * liftIndex + RIDER_OFFSET_X + RIDER_SPACING * (riderIndex - load / 2);
    DrawBox(dc, x, carY, BAR_HALF_WIDTH, BAR_HALF_HEIGHT);
}

void CScene::DrawPerson(CSurface& dc, int32_t personIndex, bool erase)
{
    int32_t height = 0;
    Colour colour = COLOUR_GREY;
    int32_t wait = 0;
    const int32_t result =
        g_building.StepPerson(personIndex, erase ? 1 : 0, height, colour, m_capacity, m_passPause, m_temper, wait);
    // Counted before the drawing decision: someone who boards or arrives in this step still waited.
    if (wait > 0) {
        ++g_waitStats.count;
        g_waitStats.sum += wait;
    }
    if (result == STEP_NOT_DRAWN) {
        return;
    }
    const bool known = personIndex >= 0 && personIndex < MAX_PEOPLE;
    if (erase) {
        m_drawBrush.colour = m_backColour;
    } else {
        m_drawBrush.colour = m_colours != 0 ? colour : COLOUR_GREY;
    }
    if (known) {
        m_shownPeople[personIndex] = {!erase, height, colour};
    }
    DrawBox(dc, g_originX - PERSON_OFFSET_X - PERSON_SPACING * personIndex, g_originY - height, BAR_HALF_WIDTH,
            BAR_HALF_HEIGHT);
}

int32_t CScene::FormatLegend(char* buffer, int32_t bufferSize) const
{
    const int32_t averageWait = g_waitStats.sum / (g_waitStats.count + 1);
    const int written = snprintf(buffer, static_cast<size_t>(bufferSize),
                                 "  Ascenda Vintra | People=%2i | Waiting=%2i | Calls=%2i | Ave Wait=%2i   ",
                                 static_cast<int>(m_people), static_cast<int>(g_waitStats.count),
                                 static_cast<int>(g_calls), static_cast<int>(averageWait));
    if (written < 0) {
        return 0;
    }
    return written < bufferSize ? written : bufferSize - 1;
}

void CScene::DrawLegend(CSurface& dc)
{
    if (!LegendFits(g_screenFactor)) {
        return;
    }
    char text[128];
    const int32_t length = FormatLegend(text, sizeof(text));
    dc.DrawOpaqueText(MapToDevice(LEGEND_X), MapToDevice(g_originY - LEGEND_ABOVE_GROUND), text, length, COLOUR_OLIVE,
                      m_backColour);
}

void CScene::DrawShafts(CSurface& dc)
{
    if (!dc.ShowsShapes() || m_floors < 1) {
        return;
    }
    // Mapped as DrawBox maps a car at the top floor and at floor 1, so the shaft is exactly what
    // their erase boxes cover.
    m_drawBrush.colour = m_backColour;
    const int32_t top = MapToDevice(g_originY - FLOOR_HEIGHT * m_floors) - MapToDevice(CAR_HALF_HEIGHT);
    const int32_t bottom = MapToDevice(g_originY - FLOOR_HEIGHT) + MapToDevice(CAR_HALF_HEIGHT);
    const int32_t halfWidth = MapToDevice(CAR_HALF_WIDTH);
    for (int32_t liftIndex = 0; liftIndex < g_liftCount; ++liftIndex) {
        const int32_t centreX = MapToDevice(g_originX + CAR_SPACING * liftIndex + CAR_OFFSET_X);
        if (halfWidth < 1) {
            dc.DrawLine(m_drawBrush, {centreX, top}, {centreX, bottom});
            continue;
        }
        const DevicePoint corners[4] = {{centreX - halfWidth, top},
                                        {centreX + halfWidth, top},
                                        {centreX + halfWidth, bottom},
                                        {centreX - halfWidth, bottom}};
        dc.DrawPolygon(m_drawBrush, corners);
    }
}

void CScene::RunLiftPass(CSurface& dc)
{
    for (int32_t liftIndex = 0; liftIndex < g_liftCount; ++liftIndex) {
        DrawLift(dc, liftIndex, true);
        DrawLift(dc, liftIndex, false);
    }
    // The buttons show the state after every car has moved in this tick.
    g_calls = 0;
    for (int32_t floor = 1; floor <= m_floors; ++floor) {
        DrawCallButton(dc, floor, true);
        DrawCallButton(dc, floor, false);
    }
}

void CScene::RunPeoplePass(CSurface& dc)
{
    g_waitStats = {0, 0};
    for (int32_t personIndex = 0; personIndex < m_people; ++personIndex) {
        DrawPerson(dc, personIndex, true);
        DrawPerson(dc, personIndex, false);
    }
}

void CScene::RunLegendPass(CSurface& dc)
{
    if (m_legend != 0) {
        DrawLegend(dc);
    }
}

Colour CScene::GetFillColour() const
{
    return GetFill(m_backColour, static_cast<uint32_t>(g_bgDivisor));
}

void CScene::Paint(CSurface& dc, int32_t clientWidth, int32_t clientHeight)
{
    dc.FillRectangle(0, 0, clientWidth, clientHeight, GetFillColour());
    g_originX = GetOriginX(g_scale);
    g_originY = GetOriginY(g_scale);
    if (m_colours == 0) {
        return;
    }
    for (int32_t floor = 1; floor <= m_floors; ++floor) {
        DrawFloor(dc, floor);
    }
}

void CScene::DrawWhole(CSurface& dc, int32_t clientWidth, int32_t clientHeight)
{
    // The fill a view started with these settings paints: the Windows views' rule that keeps the
    // background undimmed once any view of the process ran without colours is theirs alone.
    dc.FillRectangle(0, 0, clientWidth, clientHeight,
                     GetFill(m_backColour, m_colours != 0 ? DIMMED_DIVISOR : FULL_DIVISOR));
    g_originX = GetOriginX(g_scale);
    g_originY = GetOriginY(g_scale);
    for (int32_t floor = 1; m_colours != 0 && floor <= m_floors; ++floor) {
        DrawFloor(dc, floor);
    }
    DrawShafts(dc);
    for (int32_t floor = 1; floor <= m_floors; ++floor) {
        DrawCallButtonBox(dc, floor, true, m_litUp[floor]);
        DrawCallButtonBox(dc, floor, false, m_litDown[floor]);
    }
    const int32_t roof = FLOOR_HEIGHT * m_floors;
    for (int32_t liftIndex = 0; liftIndex < g_liftCount; ++liftIndex) {
        const ShownLift& lift = m_shownLifts[liftIndex];
        if (!lift.shown || lift.position < FLOOR_HEIGHT || lift.position > roof) {
            continue;
        }
        m_drawBrush.colour = GetCarColour(lift.direction);
        DrawCar(dc, liftIndex, lift.position, lift.load);
    }
    for (int32_t personIndex = 0; personIndex < m_people; ++personIndex) {
        const ShownPerson& person = m_shownPeople[personIndex];
        if (!person.shown || person.height < FLOOR_HEIGHT || person.height > roof) {
            continue;
        }
        m_drawBrush.colour = m_colours != 0 ? person.colour : COLOUR_GREY;
        DrawBox(dc, g_originX - PERSON_OFFSET_X - PERSON_SPACING * personIndex, g_originY - person.height,
                BAR_HALF_WIDTH, BAR_HALF_HEIGHT);
    }
    if (m_legend != 0) {
        DrawLegend(dc);
    }
}

void CScene::ForgetShown()
{
    for (ShownLift& lift : m_shownLifts) {
        lift = {};
    }
    for (ShownPerson& person : m_shownPeople) {
        person = {};
    }
}

int32_t CScene::GetScreenFactorForSize(int32_t width, int32_t height)
{
    // 64 bits: a client height near the top of int32 must not wrap when multiplied by 4.
    const int64_t widthOfFourByThree = static_cast<int64_t>(height) * 4 / 3;
    const int64_t layoutWidth = width < widthOfFourByThree ? width : widthOfFourByThree;
    return static_cast<int32_t>(layoutWidth / 67 + 1);
}

void CScene::SetScreenFactorFromSize(int32_t width, int32_t height)
{
    g_screenFactor = GetScreenFactorForSize(width, height);
}

SceneExtent CScene::MeasureScene(int32_t scale, int32_t screenFactor, int32_t cars, int32_t floors)
{
    auto map = [scale, screenFactor](int32_t world) { return MapToDevice(world, scale, screenFactor); };
    // Mapped as DrawBox maps a car: its centre and its half size apart. The last shaft reaches
    // furthest right; a car at the top floor highest, at floor 1 lowest.
    const int32_t originY = GetOriginY(scale);
    const int32_t lastCentreX = GetOriginX(scale) + CAR_SPACING * (cars - 1) + CAR_OFFSET_X;
    SceneExtent extent{};
    extent.shaftsRight = map(lastCentreX) + map(CAR_HALF_WIDTH);
    extent.top = map(originY - FLOOR_HEIGHT * floors) - map(CAR_HALF_HEIGHT);
    extent.bottom = map(originY - FLOOR_HEIGHT) + map(CAR_HALF_HEIGHT);
    extent.legendX = map(LEGEND_X);
    extent.legendY = map(originY - LEGEND_ABOVE_GROUND);
    return extent;
}

bool CScene::LegendFits(int32_t screenFactor)
{
    return screenFactor >= LEGEND_MIN_SCREEN_FACTOR;
}

void CScene::SetCars(int32_t cars)
{
    g_liftCount = LimitTo(cars, 1, MAX_LIFTS);
    g_building.Reset(g_liftCount, m_floors, m_driver);
}

void CScene::SetPeople(int32_t people)
{
    m_people = LimitTo(people, 0, MAX_PEOPLE);
}

void CScene::SetCapacity(int32_t capacity)
{
    m_capacity = capacity;
}

void CScene::SetScale(int32_t scale)
{
    g_scale = scale;
}

void CScene::SetBackColour(Colour colour)
{
    m_backColour = colour;
}

void CScene::SetDriver(int32_t mode, int32_t /*network: reserved, no behaviour depends on it*/)
{
    m_driver = mode;
    // Also when the mode is unchanged: a new intelligence starts from clear buttons.
    g_building.Reset(g_liftCount, m_floors, mode);
}

void CScene::SetCustom(int32_t floors, int32_t liftPause, int32_t passPause, int32_t passInterval, int32_t temper)
{
    const int32_t limited = LimitTo(floors, 0, MAX_FLOOR_NUMBER);
    if (limited < m_floors) {
        // Cars and people on the floors taken away would stay there, drawn above the roof and
        // erasing where the shafts once reached; they start again from floor 1 instead.
        RestartLiftsAndPeople();
        ForgetShown();
    }
    m_floors = limited;
    m_liftPause = liftPause;
    m_passPause = passPause;
    m_passInterval = passInterval;
    m_temper = temper;
    g_building.Reset(g_liftCount, m_floors, m_driver);
}

void CScene::SetColours(int32_t colours)
{
    m_colours = colours;
}

void CScene::SetLegend(int32_t legend)
{
    m_legend = legend;
}

#pragma once
#include <cstdint>

#include "Surface.h"
#include "settings/ViewSettings.h"
#include "sim/Colour.h"
#include "sim/Lift.h"
#include "sim/Person.h"

// The scene's fixed colours.
constexpr Colour COLOUR_GREEN = MakeColour(0, 128, 0);
constexpr Colour COLOUR_RED = MakeColour(128, 0, 0);
constexpr Colour COLOUR_OLIVE = MakeColour(128, 128, 0);
constexpr Colour COLOUR_GREY = MakeColour(128, 128, 128);
// The drawing colour a view starts with, before any shape sets its own.
constexpr Colour COLOUR_INITIAL_BRUSH = MakeColour(255, 0, 0);

struct WaitStats {
    int32_t count; // people whose step in the current people pass reported a wait above 0
    int32_t sum;   // the sum of those waits
};

// Process-wide geometry and counters, shared by every view of the process.
extern int32_t g_scale;        // divisor of the world-to-device mapping (the Scale setting)
extern int32_t g_screenFactor; // multiplier of the mapping: client width (at most 4:3) / 67 + 1
extern int32_t g_originX;      // world x of the call-button column
extern int32_t g_originY;      // world y of the ground line
extern int32_t g_bgDivisor;    // 12: paint the background dimmed to 9/12; 9: at full strength
extern int32_t g_liftCount;    // lifts in the lift pass and in every Reset
extern WaitStats g_waitStats;  // cleared by each people pass, added to by DrawPerson
extern int32_t g_calls;        // lit call buttons found by the last button pass

// A floor's height in world units.
constexpr int32_t FLOOR_HEIGHT = 100;

// Where the building lies in device units: the lift shafts' right edge, the top of the highest
// floor's car and the bottom of floor 1's, and the legend's top left corner.
struct SceneExtent {
    int32_t shaftsRight;
    int32_t top;
    int32_t bottom;
    int32_t legendX;
    int32_t legendY;
};

// Puts the process-wide scene variables back to their program-start values (tests, tools).
void RestartScene();

// World units to device units: world * g_screenFactor / g_scale, product first, quotient
// truncated toward zero.
int32_t MapToDevice(int32_t world);
// The same mapping for a given scale and screen factor.
int32_t MapToDevice(int32_t world, int32_t scale, int32_t screenFactor);

// What the passes last drew of one car and of one person, so that a repaint can show the whole
// building at once. Heights are world units above the ground line.
struct ShownLift {
    bool shown;
    int32_t position;
    int32_t direction;
    int32_t load; // the riders drawn in it
};
struct ShownPerson {
    bool shown;
    int32_t height;
    Colour colour; // as the model gave it; grey stands in for it while Colours is off
};

// The portable half of the simulation view: its settings, the drawing operations and the timer
// passes. The window class derives from it and hands each pass a surface over its device context.
class CScene {
public:
    // Takes the loaded settings: sets g_scale, the background colour and the drawing brush; with
    // Colours off switches the process to the undimmed background; last sets the cars, which
    // resets the building.
    explicit CScene(const ViewSettings& settings);

    // Drawing operations, in world units.
    void DrawBox(CSurface& dc, int32_t x, int32_t y, int32_t halfWidth, int32_t halfHeight);
    void DrawFloor(CSurface& dc, int32_t floor);
    void DrawCallButton(CSurface& dc, int32_t floor, bool up);
    void DrawLift(CSurface& dc, int32_t liftIndex, bool erase);
    void DrawRider(CSurface& dc, int32_t liftIndex, int32_t riderIndex, int32_t load, int32_t carY);
    void DrawPerson(CSurface& dc, int32_t personIndex, bool erase);
    void DrawLegend(CSurface& dc);
    // Every lift's shaft as its cars leave it: the background colour over the whole height a car
    // can cover, from floor 1 to the top floor. For a view that repaints often, so that a new
    // paint shows the shafts whole rather than only where cars have passed since.
    void DrawShafts(CSurface& dc);

    // The timer passes: every lift then every floor's buttons; every person; the legend.
    void RunLiftPass(CSurface& dc);
    void RunPeoplePass(CSurface& dc);
    void RunLegendPass(CSurface& dc);
    // Fills the client area (dimmed unless g_bgDivisor is 9), sets the origins from g_scale and,
    // with Colours on, draws the floor slabs.
    void Paint(CSurface& dc, int32_t clientWidth, int32_t clientHeight);
    // The whole picture at once, as a view started with the settings in force would show it once
    // its passes have run: the fill (dimmed only while Colours is on), the slabs, every shaft
    // whole, and the buttons, cars, riders and people where the passes last drew them, then the
    // legend when it is on. Only what lies inside the building is drawn. Steps nothing.
    void DrawWhole(CSurface& dc, int32_t clientWidth, int32_t clientHeight);
    // The fill colour Paint uses: each channel * 9 / g_bgDivisor, low 8 bits kept.
    Colour GetFillColour() const;

    // The mapping's multiplier for a client area: width / 67 + 1, where the width counts no more
    // than a 4:3 area of the client's height, so a widescreen keeps the ground line and the
    // legend on screen. 4:3 and narrower areas follow their width alone.
    static int32_t GetScreenFactorForSize(int32_t width, int32_t height);
    static void SetScreenFactorFromSize(int32_t width, int32_t height);
    // Where the building lies in device units at this scale and screen factor, for `cars` lifts
    // serving floors 1 to `floors`. Reads and changes no global.
    static SceneExtent MeasureScene(int32_t scale, int32_t screenFactor, int32_t cars, int32_t floors);
    // Whether DrawLegend draws anything at this screen factor.
    static bool LegendFits(int32_t screenFactor);

    // Setters used by the dialogs while the view runs. None of them draws. SetCustom with fewer
    // floors than before starts the cars and people again from floor 1, as none may stay on a
    // floor that is gone.
    void SetCars(int32_t cars);
    void SetPeople(int32_t people);
    void SetCapacity(int32_t capacity);
    void SetScale(int32_t scale);
    void SetBackColour(Colour colour);
    void SetDriver(int32_t mode, int32_t network);
    void SetCustom(int32_t floors, int32_t liftPause, int32_t passPause, int32_t passInterval, int32_t temper);
    void SetColours(int32_t colours);
    // The legend pass draws the legend only while this is set; what it drew stays until a repaint.
    void SetLegend(int32_t legend);

    // The legend line as DrawLegend formats it; returns its length.
    int32_t FormatLegend(char* buffer, int32_t bufferSize) const;

    int32_t m_people;
    int32_t m_driver;
    int32_t m_capacity;
    int32_t m_colours;
    int32_t m_legend;
    int32_t m_floors;
    int32_t m_liftPause;
    int32_t m_passPause;
    int32_t m_passInterval;
    int32_t m_temper;
    BrushDescription m_drawBrush; // its colour is the current drawing colour
    Colour m_backColour;

private:
    Colour GetCarColour(int32_t direction) const;
    void DrawCar(CSurface& dc, int32_t liftIndex, int32_t position, int32_t load);
    void DrawCallButtonBox(CSurface& dc, int32_t floor, bool up, bool lit);
    void ForgetShown();

    ShownLift m_shownLifts[MAX_LIFTS];
    ShownPerson m_shownPeople[MAX_PEOPLE];
    bool m_litUp[MAX_FLOORS]; // the buttons as the last lift pass drew them
    bool m_litDown[MAX_FLOORS];
};

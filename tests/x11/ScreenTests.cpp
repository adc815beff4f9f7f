#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "../view/RecordingSurface.h"
#include "SettingsDescription.h"
#include "X11TestSupport.h"
#include "options/ColourNames.h"
#include "runtime/SceneFit.h"
#include "settings/MemoryStore.h"
#include "settings/ViewSettings.h"
#include "sim/Building.h"
#include "view/Scene.h"

// The saver run as a process on a private virtual display: what it draws and how it starts and ends.
namespace {

constexpr Colour SLAB_COLOUR = MakeColour(0, 0, 128); // the default background colour
constexpr Colour DIMMED_FILL = MakeColour(0, 0, 96);
// Ceilings for events that come in well under a second on a quiet machine: they bound a failing
// test, and a loaded one may take many times longer.
constexpr int64_t PICTURE_TIMEOUT_MS = 15000;
constexpr int64_t EXIT_TIMEOUT_MS = 15000;
constexpr int SLAB_PROBE_X = 5; // left of every person and button: only slabs and fill here

// Where the default scene puts its shapes in a client area of the given size, as the scene itself
// computes them.
struct ExpectedPicture {
    Colour fill;
    std::vector<RecordedShape> slabs;
    DevicePoint legend;
    int32_t firstShaftX;
};

// `fit`: the scale and screen factor the saver draws with; by default the default settings' fit.
ExpectedPicture ComputePicture(int32_t width, int32_t height, SceneFit fit = {0, 0})
{
    RestartModel();
    RestartScene();
    CMemoryStore store;
    CScene scene(LoadViewSettings(store));
    if (fit.scale == 0)
        CScene::SetScreenFactorFromSize(width, height);
    else
        ApplySceneFit(fit);
    ExpectedPicture picture{};
    CRecordingSurface painted;
    scene.Paint(painted, width, height);
    for (const RecordedShape& shape : painted.m_shapes) {
        if (shape.kind == RecordedShape::FILL)
            picture.fill = shape.colour;
        if (shape.kind == RecordedShape::POLYGON)
            picture.slabs.push_back(shape);
    }
    CRecordingSurface legend;
    scene.DrawLegend(legend);
    picture.legend = legend.m_shapes.at(0).points[0];
    CRecordingSurface lift;
    scene.DrawLift(lift, 0, false);
    picture.firstShaftX = lift.m_shapes.at(0).CentreX();
    return picture;
}

std::string Hex(unsigned long id)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", id);
    return text;
}

class SaverScreenTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(m_display.Get(), nullptr) << "Xvfb did not start"; }

    std::unique_ptr<CChildProcess> StartSaver(std::vector<std::string> arguments,
                                              std::vector<std::string> environment = {})
    {
        arguments.insert(arguments.begin(), ASCENDA_PATH);
        environment.push_back("DISPLAY=" + m_display.GetName());
        return std::make_unique<CChildProcess>(arguments, environment);
    }

    bool ShowsColourAt(Window window, int x, int y, Colour colour) const
    {
        return m_display.GetColour(window, x, y) == colour;
    }

    // Each slab's top and bottom rows in the slab colour, the rows just outside them in the fill.
    bool ShowsSlabs(Window window, const ExpectedPicture& picture) const
    {
        for (const RecordedShape& slab : picture.slabs) {
            const int top = slab.points[0].y;
            const int bottom = slab.points[2].y;
            // At a large scale the slabs start right of the window's edge.
            const int x = std::max(SLAB_PROBE_X, slab.points[0].x + 1);
            if (!ShowsColourAt(window, x, top, SLAB_COLOUR) || !ShowsColourAt(window, x, bottom, SLAB_COLOUR) ||
                !ShowsColourAt(window, x, top - 1, picture.fill) || !ShowsColourAt(window, x, bottom + 1, picture.fill))
                return false;
        }
        return true;
    }

    // Olive text pixels in the legend's row, from its left end.
    bool ShowsLegend(Window window, const ExpectedPicture& picture) const
    {
        return m_display.AreaHolds(window, picture.legend.x, picture.legend.y, 400, 13, COLOUR_OLIVE);
    }

    CVirtualDisplay m_display;
};

// --- colours ---

// The savers read colours without asking a server, so each name and form must give what an X
// server gives: every name in the system's rgb.txt, the names the server adds, and the numeric
// forms. Channels compared one by one.
TEST_F(SaverScreenTest, EveryColourTextReadsAsTheXServerReadsIt)
{
    const std::vector<std::string> forms = {
        "rebecca purple",  "WebGray",   "web grey",   "web green",  "web maroon",   "web purple", "x11 gray",
        "X11Grey",         "x11 green", "x11 maroon", "x11 purple", "aqua",         "crimson",    "fuchsia",
        "indigo",          "lime",      "olive",      "silver",     "teal",         "rgb:f/8/0",  "RGB:1/22/333",
        "rgb:fff/800/000", "#abc",      "#1a2B3c",    "#123456789", "#1234abcdEF01"};
    std::vector<std::string> names;
    std::FILE* database = std::fopen("/etc/X11/rgb.txt", "r");
    if (database == nullptr)
        database = std::fopen("/usr/share/X11/rgb.txt", "r");
    ASSERT_NE(database, nullptr) << "no rgb.txt (Debian's x11-common)";
    char line[256];
    while (std::fgets(line, sizeof line, database) != nullptr) {
        int consumed = 0;
        unsigned red = 0, green = 0, blue = 0;
        if (line[0] != '!' && std::sscanf(line, "%3u %3u %3u %n", &red, &green, &blue, &consumed) == 3)
            names.emplace_back(line + consumed, std::strcspn(line + consumed, "\r\n"));
    }
    std::fclose(database);
    Display* display = m_display.Get();
    size_t compared = 0;
    const auto compare = [&](const std::string& text, bool serverMustKnow) {
        XColor exact{};
        if (XParseColor(display, DefaultColormap(display, DefaultScreen(display)), text.c_str(), &exact) == 0) {
            // Debian's rgb.txt has a few names of its own ("DebianRed") that the server lacks.
            EXPECT_FALSE(serverMustKnow) << text;
            return;
        }
        ++compared;
        Colour colour = 0;
        ASSERT_TRUE(ReadColourName(text.c_str(), colour)) << text;
        EXPECT_EQ(RedOf(colour), exact.red >> 8u) << text;
        EXPECT_EQ(GreenOf(colour), exact.green >> 8u) << text;
        EXPECT_EQ(BlueOf(colour), exact.blue >> 8u) << text;
    };
    for (const std::string& text : forms)
        compare(text, true);
    for (const std::string& text : names)
        compare(text, false);
    EXPECT_GT(compared, 700u) << "the server knew few of rgb.txt's names";
}

// --- the picture ---

TEST_F(SaverScreenTest, DescriptionDefaultsDrawTheDefaultPictureIn1024By768)
{
    const Window window = m_display.CreateWindow(0, 0, 1024, 768);
    std::vector<std::string> arguments = DefaultCommandLine(ReadSettingsDescription(ASCENDA_SETTINGS_XML));
    ASSERT_FALSE(arguments.empty());
    arguments.push_back("--window-id");
    arguments.push_back(Hex(window));
    auto saver = StartSaver(arguments);
    const ExpectedPicture picture = ComputePicture(1024, 768);
    ASSERT_EQ(picture.fill, DIMMED_FILL);
    ASSERT_EQ(picture.slabs.size(), 10u);

    EXPECT_TRUE(WaitFor([&] { return ShowsColourAt(window, 1000, 10, DIMMED_FILL); }, PICTURE_TIMEOUT_MS));
    EXPECT_TRUE(WaitFor([&] { return ShowsSlabs(window, picture); }, PICTURE_TIMEOUT_MS));
    EXPECT_TRUE(WaitFor([&] { return ShowsLegend(window, picture); }, PICTURE_TIMEOUT_MS));
    const auto carInFirstShaft = [&] {
        for (Colour car : {COLOUR_OLIVE, COLOUR_GREEN, COLOUR_RED}) {
            if (m_display.AreaHolds(window, picture.firstShaftX, 0, 1, 768, car))
                return true;
        }
        return false;
    };
    EXPECT_TRUE(WaitFor(carInFirstShaft, PICTURE_TIMEOUT_MS));
    EXPECT_TRUE(saver->IsRunning()) << saver->ReadError();
}

TEST_F(SaverScreenTest, ResizeTo1920By1080RedrawsWithTheWidescreenFactor)
{
    const Window window = m_display.CreateWindow(0, 0, 1024, 768);
    auto saver = StartSaver({"--window-id", Hex(window)});
    const ExpectedPicture small = ComputePicture(1024, 768);
    ASSERT_TRUE(WaitFor([&] { return ShowsSlabs(window, small); }, PICTURE_TIMEOUT_MS));

    XResizeWindow(m_display.Get(), window, 1920, 1080);
    XSync(m_display.Get(), False);
    const ExpectedPicture wide = ComputePicture(1920, 1080);
    EXPECT_EQ(g_screenFactor, 22);
    // Floor 1's slab and the legend, below the 4:3 cut of a width-only layout, are on screen.
    EXPECT_TRUE(WaitFor([&] { return ShowsSlabs(window, wide); }, PICTURE_TIMEOUT_MS));
    EXPECT_EQ(wide.legend.y, 1026);
    EXPECT_TRUE(WaitFor([&] { return ShowsLegend(window, wide); }, PICTURE_TIMEOUT_MS));
    EXPECT_TRUE(ShowsColourAt(window, 1900, 1070, DIMMED_FILL));
}

TEST_F(SaverScreenTest, EveryResizeFitsTheBuildingAgainButAGivenScaleIsKept)
{
    // Ten lifts need scale 52 at 1024 x 768 and 29 at 1920 x 1080; a scale given stays as given.
    const FitArea legend{0, 0, 450, 13};
    for (const bool given : {false, true}) {
        const Window window = m_display.CreateWindow(0, 0, 1024, 768);
        std::vector<std::string> arguments{"--cars", "10", "--window-id", Hex(window)};
        if (given)
            arguments.insert(arguments.end(), {"--scale", "30"});
        auto saver = StartSaver(arguments);
        for (const auto& size : {std::make_pair(1024, 768), std::make_pair(1920, 1080)}) {
            XResizeWindow(m_display.Get(), window, size.first, size.second);
            XSync(m_display.Get(), False);
            const SceneFit fitted =
                FitScene(10, 10, {size.first, size.second, legend.legendWidth, legend.legendHeight});
            const SceneFit expected =
                given ? SceneFit{30, CScene::GetScreenFactorForSize(size.first, size.second)} : fitted;
            const ExpectedPicture picture = ComputePicture(size.first, size.second, expected);
            EXPECT_TRUE(WaitFor([&] { return ShowsSlabs(window, picture); }, PICTURE_TIMEOUT_MS))
                << size.first << " given " << given << " scale " << expected.scale;
        }
        EXPECT_TRUE(saver->IsRunning()) << saver->ReadError();
        XDestroyWindow(m_display.Get(), window);
    }
}

// --- where it draws and how it ends ---

TEST_F(SaverScreenTest, RootDrawsOnTheSaverWindowWhenNamedElseOnTheRoot)
{
    const Window root = DefaultRootWindow(m_display.Get());
    const Window window = m_display.CreateWindow(0, 0, 1024, 768);
    const ExpectedPicture picture = ComputePicture(1024, 768);
    {
        auto saver = StartSaver({"--root"}, {"XSCREENSAVER_WINDOW=" + Hex(window)});
        // Once the legend is up the saver has run its passes for a second.
        ASSERT_TRUE(WaitFor([&] { return ShowsLegend(window, picture); }, PICTURE_TIMEOUT_MS));
        EXPECT_TRUE(ShowsColourAt(root, 1500, 900, 0)) << "drew on the root window";
    }
    auto saver = StartSaver({"-root"}, {"XSCREENSAVER_WINDOW"});
    EXPECT_TRUE(WaitFor([&] { return ShowsColourAt(root, 1500, 900, DIMMED_FILL); }, PICTURE_TIMEOUT_MS));
}

TEST_F(SaverScreenTest, StopSignalsEndItBySameSignal)
{
    // A daemon logs a hack that dies by its SIGTERM as ending normally, one that exits 0 as not.
    const Window window = m_display.CreateWindow(0, 0, 640, 480);
    const struct {
        int signal;
        std::vector<std::string> arguments;
        std::vector<std::string> environment;
    } cases[] = {
        {SIGTERM, {"--window-id", Hex(window)}, {}},
        {SIGINT, {"--root"}, {"XSCREENSAVER_WINDOW=" + Hex(window)}},
        {SIGHUP, {"--window-id", Hex(window)}, {}},
    };
    for (const auto& test : cases) {
        XClearWindow(m_display.Get(), window);
        XSync(m_display.Get(), False);
        auto saver = StartSaver(test.arguments, test.environment);
        ASSERT_TRUE(WaitFor([&] { return ShowsColourAt(window, 600, 10, DIMMED_FILL); }, PICTURE_TIMEOUT_MS));
        saver->Signal(test.signal);
        EXPECT_TRUE(saver->WaitForExit(EXIT_TIMEOUT_MS)) << test.signal;
        EXPECT_EQ(saver->GetEndingSignal(), test.signal) << saver->ReadError();
    }
}

Window FindWindowNamed(Display* display, const char* title)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0)
        return 0;
    for (unsigned index = 0; index < count && found == 0; ++index) {
        char* name = nullptr;
        if (XFetchName(display, children[index], &name) != 0 && name != nullptr) {
            if (std::strcmp(name, title) == 0)
                found = children[index];
            XFree(name);
        }
    }
    XFree(children);
    return found;
}

// A hash of what the window shows: it changes when the saver draws.
// A hash of what the window shows: it changes when the saver draws.
size_t PictureOf(Display* display, Window window)
{
    XImage* image = XGetImage(display, window, 0, 0, 1024, 768, AllPlanes, ZPixmap);
    if (image == nullptr)
        return 0;
    const size_t hash = std::hash<std::string>()(std::string(image->data, image->bytes_per_line * 768));
    XDestroyImage(image);
    return hash;
}

// The own window's column of the input table every front end follows. The pointer rests at
// (100, 100) when the window appears under it; a move is a warp of the real pointer.
TEST_F(SaverScreenTest, OwnWindowIsTitledAndEndsOnTheUsersInputOrTheCloseButton)
{
    const struct {
        const char* name;
        int type;        // the event sent, or MotionNotify: the pointer moved to (moveX, 100)
        unsigned detail; // the button, or the key's keysym
        int moveX;
        bool ends;
    } cases[] = {
        {"a key", KeyPress, XK_a, 0, true},
        {"a key released that was pressed before", KeyRelease, XK_a, 0, false},
        {"a button", ButtonPress, Button1, 0, true},
        {"the wheel", ButtonPress, Button5, 0, true},
        {"the pointer within the slack", MotionNotify, 0, 101, false},
        {"the pointer beyond it", MotionNotify, 0, 102, true},
        {"the close button", ClientMessage, 0, 0, true},
    };
    Display* display = m_display.Get();
    const Window root = DefaultRootWindow(display);
    for (const auto& test : cases) {
        XWarpPointer(display, None, root, 0, 0, 0, 0, 100, 100);
        XSync(display, False);
        auto saver = StartSaver({});
        Window window = 0;
        ASSERT_TRUE(
            WaitFor([&] { return (window = FindWindowNamed(display, "Ascenda Vintra")) != 0; }, PICTURE_TIMEOUT_MS));
        XWindowAttributes attributes{};
        XGetWindowAttributes(display, window, &attributes);
        EXPECT_EQ(attributes.width * 1000 + attributes.height, 1024 * 1000 + 768) << "1024 x 768";
        ASSERT_TRUE(WaitFor([&] { return ShowsColourAt(window, 1000, 10, DIMMED_FILL); }, PICTURE_TIMEOUT_MS));
        XEvent event{};
        event.type = test.type;
        event.xany.window = window;
        event.xkey.root = root; // the same place in key and button events
        event.xkey.same_screen = True;
        if (test.type == KeyPress || test.type == KeyRelease) {
            event.xkey.keycode = XKeysymToKeycode(display, test.detail);
        } else if (test.type == ButtonPress) {
            event.xbutton.button = test.detail;
        } else if (test.type == ClientMessage) {
            event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
            event.xclient.format = 32;
            event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        }
        const long mask = test.type == KeyPress      ? KeyPressMask
                          : test.type == KeyRelease  ? KeyReleaseMask
                          : test.type == ButtonPress ? ButtonPressMask
                                                     : NoEventMask;
        if (test.type == MotionNotify)
            XWarpPointer(display, None, root, 0, 0, 0, 0, test.moveX, 100);
        else
            XSendEvent(display, window, False, mask, &event);
        XSync(display, False);
        if (test.ends) {
            EXPECT_TRUE(saver->WaitForExit(EXIT_TIMEOUT_MS)) << test.name;
            EXPECT_EQ(saver->GetExitCode(), 0) << test.name;
            continue;
        }
        // Drawn twice since: the saver has read the event, and goes on.
        for (int frame = 0; frame < 2; ++frame) {
            const size_t before = PictureOf(display, window);
            EXPECT_TRUE(WaitFor([&] { return PictureOf(display, window) != before; }, PICTURE_TIMEOUT_MS)) << test.name;
        }
        EXPECT_TRUE(saver->IsRunning()) << test.name;
        saver->Signal(SIGTERM);
        EXPECT_TRUE(saver->WaitForExit(EXIT_TIMEOUT_MS)) << test.name;
    }
}

TEST_F(SaverScreenTest, AnUnusableWindowOrDisplayEndsWithAClearMessage)
{
    const Window gone = m_display.CreateWindow(0, 0, 100, 100);
    XDestroyWindow(m_display.Get(), gone);
    XSync(m_display.Get(), False);
    const struct {
        std::vector<std::string> arguments;
        std::vector<std::string> environment;
        std::string message;
    } cases[] = {
        {{"--window-id", "0x1fffffff"}, {}, "no window 0x1fffffff"},
        {{"--window-id", Hex(gone)}, {}, "no window " + Hex(gone)},
        {{"--root"}, {"XSCREENSAVER_WINDOW=somewhere"}, "XSCREENSAVER_WINDOW"},
        {{"--window-id", Hex(gone), "--display", ":4242"}, {}, "cannot open display \":4242\""},
        // What came from outside reaches the terminal with its control characters shown, not obeyed.
        {{"--root"}, {"XSCREENSAVER_WINDOW=\x1b[2J"}, "\"\\x1B[2J\""},
        {{"--root", "--display", ":1\x1b]0;x\x07"}, {}, "\":1\\x1B]0;x\\x07\""},
    };
    for (const auto& test : cases) {
        auto saver = StartSaver(test.arguments, test.environment);
        ASSERT_TRUE(saver->WaitForExit(EXIT_TIMEOUT_MS)) << test.message;
        EXPECT_EQ(saver->GetExitCode(), 1) << test.message;
        EXPECT_NE(saver->ReadError().find(test.message), std::string::npos) << test.message;
    }
    // No display at all.
    std::vector<std::string> arguments = {ASCENDA_PATH, "--root"};
    CChildProcess saver(arguments, {"DISPLAY"});
    ASSERT_TRUE(saver.WaitForExit(EXIT_TIMEOUT_MS));
    EXPECT_EQ(saver.GetExitCode(), 1);
    EXPECT_NE(saver.ReadError().find("cannot open display"), std::string::npos);
}

TEST(SaverCommandLineTest, InvalidOptionsExitTwoNamingTheOptionAndItsRange)
{
    const struct {
        std::vector<std::string> arguments;
        const char* option;
        const char* range;
    } cases[] = {
        {{"-people", "101"}, "--people", "10 to 100"},
        {{"--scale=19"}, "--scale", "20 to 50"},
        {{"--frame-rate"}, "--frame-rate", "unknown option"},
    };
    for (const auto& test : cases) {
        std::vector<std::string> arguments = test.arguments;
        arguments.insert(arguments.begin(), ASCENDA_PATH);
        // A valid command line would go on to open this display and fail with 1: 2 is the options'.
        CChildProcess saver(arguments, {"DISPLAY=:4242"});
        ASSERT_TRUE(saver.WaitForExit(EXIT_TIMEOUT_MS));
        EXPECT_EQ(saver.GetExitCode(), 2) << test.option;
        const std::string error = saver.ReadError();
        EXPECT_NE(error.find(test.option), std::string::npos) << error;
        EXPECT_NE(error.find(test.range), std::string::npos) << error;
    }
}

} // namespace

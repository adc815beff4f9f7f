#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "options/ColourNames.h"
#include "options/DisplayOptions.h"
#include "x11/SaverOptions.h"
#ifdef ASCENDA_WAYLAND_OPTIONS
#include "wayland/WaylandOptions.h"
#endif

namespace {

struct ColourCase {
    const char* text;
    bool valid;
    Colour colour;
};

// Each text gives its colour, or is refused and leaves the colour alone.
template <typename Read> void ExpectColours(std::initializer_list<ColourCase> cases, Read read)
{
    for (const ColourCase& test : cases) {
        Colour colour = 0x123456;
        EXPECT_EQ(read(test.text, colour), test.valid) << test.text;
        EXPECT_EQ(colour, test.valid ? test.colour : 0x123456u) << test.text;
    }
}

TEST(ColourNameTest, ReadsTheHexFormsAsXDoes)
{
    ExpectColours({{"#a0B0c0", true, MakeColour(0xA0, 0xB0, 0xC0)},
                   {"A0B0C0", true, MakeColour(0xA0, 0xB0, 0xC0)},
                   {"#9aF", true, MakeColour(0x90, 0xA0, 0xF0)},      // each digit a channel's high four bits
                   {"rgb:f/8/0", true, MakeColour(0xFF, 0x88, 0x00)}, // scaled: 8 of 15 is 88 of FF
                   {"00f", false, 0},
                   {"#00g", false, 0},
                   {"#f", false, 0},
                   {"#ff00ff00", false, 0},
                   {"#1234567890abc", false, 0},
                   {"rgb:12345/0/0", false, 0},
                   {"rgb:/8/0", false, 0},
                   {"rgb:f/8", false, 0},
                   {"rgb:f/8/0/1", false, 0},
                   {"12345", false, 0}},
                  ParseHexColour);
}

TEST(ColourNameTest, FindsDatabaseNamesWhateverTheirCaseAndSpaces)
{
    const std::string path = "/tmp/ascenda-rgb-" + std::to_string(getpid()) + ".txt";
    std::FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("! $Xorg: rgb.txt $\n300   0   0\t\ttoo red\n 12  34\t\tshort line\n"
               " 47  79  79\t\tdark slate gray\r\n  0   0 128\t\tNavyBlue\n  1   2   3\t\tnavy\n",
               file);
    std::fclose(file);
    ExpectColours({{"DarkSlateGray", true, MakeColour(47, 79, 79)},
                   {" DARK  slategray ", true, MakeColour(47, 79, 79)},
                   {"navy", true, MakeColour(1, 2, 3)}, // a whole name, not the start of one
                   {"too red", false, 0},
                   {"short line", false, 0},
                   {"dark slate", false, 0},
                   {"", false, 0}},
                  [&](const char* name, Colour& colour) { return FindColourName(name, path.c_str(), colour); });
    unlink(path.c_str());
}

TEST(ColourNameTest, ReadsTheSystemDatabaseAfterTheHexForms)
{
    if (access("/usr/share/X11/rgb.txt", R_OK) != 0 && access("/etc/X11/rgb.txt", R_OK) != 0)
        GTEST_SKIP() << "no rgb.txt (Debian's x11-common)";
    // As the daemon hands on a name its settings tool wrapped across lines.
    ExpectColours({{"dark slate      \t\t\t\t  gray", true, MakeColour(47, 79, 79)},
                   {" #00f\t", true, MakeColour(0, 0, 0xF0)},
                   {"rgb:00/00/80", true, MakeColour(0, 0, 0x80)},
                   {"no such colour", false, 0},
                   {" \t", false, 0}},
                  ReadColourName);
}

// Both Linux savers read --back-colour with the one reader: each text gives the same three
// channels in either, or the default in both. Channels are compared one by one, with colours
// whose channels all differ, so that two channels swapped show.
TEST(ColourNameTest, BothSaversReadEveryColourTheSameChannelByChannel)
{
    struct ChannelCase {
        const char* text;
        uint32_t red, green, blue;
    };
    const Colour fallback = CDisplayOptions().m_backColour;
    const ChannelCase cases[] = {
        {"rebecca purple", 102, 51, 153},
        {"x11 maroon", 176, 48, 96},
        {"crimson", 220, 20, 60},
        {"rgb:f/8/0", 255, 136, 0},
        {"#1a2B3c", 0x1A, 0x2B, 0x3C},
        {"1a2b3c", 0x1A, 0x2B, 0x3C},
        {"no such colour", RedOf(fallback), GreenOf(fallback), BlueOf(fallback)},
    };
    for (const ChannelCase& test : cases) {
        CSaverOptions x11;
        const char* x11Arguments[] = {"ascenda", "--back-colour", test.text};
        char error[160];
        ASSERT_TRUE(ParseSaverOptions(3, x11Arguments, x11, error, sizeof error)) << error;
        ReadBackColour("ascenda", x11);
#ifdef ASCENDA_WAYLAND_OPTIONS
        CWaylandOptions wayland;
        const char* waylandArguments[] = {"ascenda-wayland", "--back-colour", test.text};
        ASSERT_TRUE(ParseWaylandOptions(3, waylandArguments, wayland, error, sizeof error)) << error;
        const Colour read[] = {x11.m_backColour, wayland.m_backColour};
#else
        const Colour read[] = {x11.m_backColour};
#endif
        for (const Colour colour : read) {
            EXPECT_EQ(RedOf(colour), test.red) << test.text;
            EXPECT_EQ(GreenOf(colour), test.green) << test.text;
            EXPECT_EQ(BlueOf(colour), test.blue) << test.text;
        }
    }
}

TEST(ColourNameTest, TheWarningShowsTheTextEscapedAndTheDefault)
{
    char warning[160];
    FormatColourWarning("ascenda", "navy\x1b[2J", warning, sizeof warning);
    EXPECT_STREQ(warning, "ascenda: warning: \"navy\\x1B[2J\" is not a colour; the background stays 000080");
}

} // namespace

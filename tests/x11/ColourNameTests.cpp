#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "options/ColourNames.h"
#include "options/DisplayOptions.h"

namespace {

TEST(ColourNameTest, ReadsTheHexFormsAsXDoes)
{
    const struct {
        const char* text;
        bool valid;
        Colour colour;
    } cases[] = {
        {"#a0B0c0", true, MakeColour(0xA0, 0xB0, 0xC0)},
        {"A0B0C0", true, MakeColour(0xA0, 0xB0, 0xC0)},
        {"#00f", true, MakeColour(0, 0, 0xF0)}, // each digit the channel's high four bits
        {"#9aF", true, MakeColour(0x90, 0xA0, 0xF0)},
        {"00f", false, 0},
        {"#0f", false, 0},
        {"#00g", false, 0},
        {"12345", false, 0},
        {"#1234567", false, 0},
        {"", false, 0},
    };
    for (const auto& test : cases) {
        Colour colour = 0x123456;
        EXPECT_EQ(ParseHexColour(test.text, colour), test.valid) << test.text;
        EXPECT_EQ(colour, test.valid ? test.colour : 0x123456u) << test.text;
    }
}

class ColourDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::FILE* file = std::fopen(m_path.c_str(), "w");
        ASSERT_NE(file, nullptr);
        std::fputs("! $Xorg: rgb.txt $\n"
                   "255 250 250\t\tsnow\n"
                   "300   0   0\t\ttoo red\n"
                   " 12  34\t\tshort line\n"
                   " 47  79  79\t\tdark slate gray\r\n"
                   "  0   0 128\t\tNavyBlue\n"
                   "  1   2   3\t\tnavy\n",
                   file);
        std::fclose(file);
    }
    void TearDown() override { unlink(m_path.c_str()); }

    std::string m_path = "/tmp/ascenda-rgb-" + std::to_string(getpid()) + ".txt";
};

TEST_F(ColourDatabaseTest, FindsNamesWhateverTheirCaseAndSpaces)
{
    const struct {
        const char* name;
        bool found;
        Colour colour;
    } cases[] = {
        {"dark slate gray", true, MakeColour(47, 79, 79)},
        {"DarkSlateGray", true, MakeColour(47, 79, 79)},
        {" DARK  slategray ", true, MakeColour(47, 79, 79)},
        {"navy blue", true, MakeColour(0, 0, 128)},
        {"navy", true, MakeColour(1, 2, 3)}, // a whole name, not the start of one
        {"snow", true, MakeColour(255, 250, 250)},
        {"too red", false, 0}, // a channel beyond 255 is no colour
        {"short line", false, 0},
        {"dark slate", false, 0},
        {"Xorg", false, 0},
        {"", false, 0},
    };
    for (const auto& test : cases) {
        Colour colour = 0x123456;
        EXPECT_EQ(FindColourName(test.name, m_path.c_str(), colour), test.found) << test.name;
        EXPECT_EQ(colour, test.found ? test.colour : 0x123456u) << test.name;
    }
    Colour colour = 0;
    EXPECT_FALSE(FindColourName("snow", "/nonexistent/rgb.txt", colour));
}

TEST(ColourNameTest, ReadsTheSystemDatabaseAfterTheHexForms)
{
    if (access("/usr/share/X11/rgb.txt", R_OK) != 0 && access("/etc/X11/rgb.txt", R_OK) != 0)
        GTEST_SKIP() << "no rgb.txt (Debian's x11-common)";
    Colour colour = 0;
    ASSERT_TRUE(ReadColourName("dark slate gray", colour));
    EXPECT_EQ(colour, MakeColour(47, 79, 79));
    ASSERT_TRUE(ReadColourName("#00f", colour));
    EXPECT_EQ(colour, MakeColour(0, 0, 0xF0));
    ASSERT_TRUE(ReadColourName(" #00f\t", colour));
    EXPECT_EQ(colour, MakeColour(0, 0, 0xF0));
    EXPECT_FALSE(ReadColourName("rgb:00/00/80", colour));
    EXPECT_FALSE(ReadColourName("no such colour", colour));
}

TEST(ColourNameTest, TidyingLeavesOneSpaceBetweenWords)
{
    // The daemon's settings tool wraps a long line inside its quotes: a run of spaces and tabs.
    const struct {
        const char* text;
        size_t size;
        const char* tidy;
    } cases[] = {
        {"dark slate      \t\t\t\t  gray", 64, "dark slate gray"},
        {" \tnavy\t ", 64, "navy"},
        {"", 64, ""},
        {"dark slate gray", 11, "dark slate"}, // cut short, never glued into "darkslate"
        {"dark slate gray", 12, "dark slate"},
        {"dark slate gray", 13, "dark slate g"},
    };
    for (const auto& test : cases) {
        char tidy[64];
        EXPECT_STREQ(TidyColourName(test.text, tidy, test.size), test.tidy) << test.text << " " << test.size;
    }
}

TEST(ColourNameTest, TheWarningShowsTheTextEscapedAndTheDefault)
{
    char warning[160];
    FormatColourWarning("ascenda", "navy\x1b[2J", warning, sizeof warning);
    EXPECT_STREQ(warning, "ascenda: warning: \"navy\\x1B[2J\" is not a colour; the background stays 000080");
}

} // namespace

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "../win/WindowTestSupport.h"
#include "app/Modes.h"

namespace {

// An argument vector from a list of arguments; element 0 is the program.
class CArguments {
public:
    CArguments(const std::vector<const char*>& arguments)
    {
        m_texts.push_back("ASCENDA.SCR");
        for (const char* argument : arguments)
            m_texts.push_back(argument);
        for (std::string& text : m_texts)
            m_pointers.push_back(&text[0]);
        m_pointers.push_back(nullptr);
    }
    int Count() const { return static_cast<int>(m_texts.size()); }
    char** Vector() { return m_pointers.data(); }

private:
    std::vector<std::string> m_texts;
    std::vector<char*> m_pointers;
};

TEST(IsSwitch, SkipsOneLeadingDashOrSlashAndComparesTheNextByteExactly)
{
    // Nothing after the letter is looked at; upper and lower case are separate tests.
    for (const char* yes : {"/s", "-s", "s", "/screen"})
        EXPECT_TRUE(IsSwitch(yes, 's')) << yes;
    for (const char* no : {"/S", "//s", "-/s", "/", "", " /s"})
        EXPECT_FALSE(IsSwitch(no, 's')) << no;
    EXPECT_FALSE(IsSwitch(nullptr, 's'));
}

TEST(SelectMode, FollowsTheFirstArgumentsSwitch)
{
    const struct {
        std::vector<const char*> arguments;
        SaverMode mode;
    } cases[] = {
        {{}, SAVER_CONFIGURE},
        {{"/c"}, SAVER_CONFIGURE},
        {{"-c"}, SAVER_CONFIGURE},
        {{"c"}, SAVER_CONFIGURE},
        {{"/C"}, SAVER_CONFIGURE},
        {{"/c:1234"}, SAVER_CONFIGURE},
        {{"/p", "1234"}, SAVER_PREVIEW},
        {{"-P", "1234"}, SAVER_PREVIEW},
        {{"/p"}, SAVER_PREVIEW}, // the missing handle is the preview's to refuse
        {{"/s"}, SAVER_FULL_SCREEN},
        {{"-S"}, SAVER_FULL_SCREEN},
        {{"s"}, SAVER_FULL_SCREEN},
        {{"/s", "extra", "more"}, SAVER_FULL_SCREEN},
        {{"//s"}, SAVER_NONE},
        {{"/x"}, SAVER_NONE},
        {{"/"}, SAVER_NONE},
        {{""}, SAVER_NONE},
        {{"-"}, SAVER_NONE},
        {{"x", "/s"}, SAVER_NONE},
    };
    for (const auto& modeCase : cases) {
        CArguments vector(modeCase.arguments);
        EXPECT_EQ(SelectMode(vector.Count(), vector.Vector()), modeCase.mode)
            << (vector.Count() > 1 ? vector.Vector()[1] : "(none)");
    }
}

TEST(PreviewHandleText, ComesAfterTheColonOrFromTheNextArgument)
{
    const struct {
        std::vector<const char*> arguments;
        const char* text; // nullptr: none
    } cases[] = {
        {{"/p:4660", "99"}, "4660"},
        {{"/p", "4660", "99"}, "4660"},
        {{"/p:", "4660"}, "4660"}, // "/p: 4660": nothing after the colon
        {{"/p:", "4660", "99"}, "4660"},
        {{"/p:0", "4660"}, "0"}, // something after the colon: that is the handle
        {{"/p:", ""}, ""},
        {{"/p:"}, nullptr},
        {{"/p"}, nullptr},
    };
    for (const auto& textCase : cases) {
        CArguments vector(textCase.arguments);
        const char* text = FindPreviewHandleText(vector.Count(), vector.Vector());
        const std::string shown = vector.Vector()[1] + std::string(vector.Count() > 2 ? " +" : "");
        if (textCase.text == nullptr)
            EXPECT_EQ(text, nullptr) << shown;
        else
            EXPECT_STREQ(text, textCase.text) << shown;
    }
}

TEST(ParseWindowHandle, ReadsDecimalTakesTheLow32BitsAndRefusesMissingGarbageAndZero)
{
    EXPECT_EQ(ParseWindowHandle("4660"), reinterpret_cast<HWND>(4660));
    EXPECT_EQ(ParseWindowHandle("  +4660xyz"), reinterpret_cast<HWND>(4660)) << "digits up to the first other";
    // 2^32 + 4660: a 64-bit host may pass more than the low 32 bits.
    EXPECT_EQ(ParseWindowHandle("4294971956"), reinterpret_cast<HWND>(4660));
    // The sign-extended negative form of 0xFFFF1234 and its unsigned form name the same handle.
    const HWND high = reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(0xFFFF1234u)));
    EXPECT_EQ(ParseWindowHandle("-60876"), high);
    EXPECT_EQ(ParseWindowHandle("4294906420"), high);
    // A number far beyond 64 bits wraps rather than overflowing; only its low bits count.
    EXPECT_NO_FATAL_FAILURE(ParseWindowHandle("99999999999999999999999999999999"));
    for (const char* refused : {"", "garbage", "-", "0", "4294967296"}) // 2^32: its low 32 bits are 0
        EXPECT_EQ(ParseWindowHandle(refused), nullptr) << refused;
    EXPECT_EQ(ParseWindowHandle(nullptr), nullptr);
}

TEST(PreviewParent, IsFoundOnlyForAnExistingWindow)
{
    HWND window = CreatePlainWindow(WS_POPUP, 0, 0, 20, 20);
    ASSERT_NE(window, nullptr);
    char number[32];
    std::snprintf(number, sizeof number, "%lld", static_cast<long long>(reinterpret_cast<intptr_t>(window)));
    char colonForm[40];
    std::snprintf(colonForm, sizeof colonForm, "/p:%s", number);

    CArguments separate({"/p", number});
    EXPECT_EQ(FindPreviewParent(separate.Count(), separate.Vector()), window);
    CArguments colon({colonForm});
    EXPECT_EQ(FindPreviewParent(colon.Count(), colon.Vector()), window);

    DestroyWindow(window);
    EXPECT_EQ(FindPreviewParent(separate.Count(), separate.Vector()), nullptr) << "a dead window";
    CArguments zero({"/p", "0"});
    EXPECT_EQ(FindPreviewParent(zero.Count(), zero.Vector()), nullptr);
    CArguments missing({"/p"});
    EXPECT_EQ(FindPreviewParent(missing.Count(), missing.Vector()), nullptr);
}

} // namespace

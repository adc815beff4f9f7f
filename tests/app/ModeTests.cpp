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
    CArguments(std::initializer_list<const char*> arguments)
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

SaverMode ModeOf(std::initializer_list<const char*> arguments)
{
    CArguments vector(arguments);
    return SelectMode(vector.Count(), vector.Vector());
}

TEST(IsSwitch, SkipsOneLeadingDashOrSlashAndComparesTheNextByteExactly)
{
    EXPECT_TRUE(IsSwitch("/s", 's'));
    EXPECT_TRUE(IsSwitch("-s", 's'));
    EXPECT_TRUE(IsSwitch("s", 's'));
    EXPECT_TRUE(IsSwitch("/screen", 's')) << "nothing after the letter is looked at";
    EXPECT_FALSE(IsSwitch("/S", 's')) << "upper and lower case are separate tests";
    EXPECT_FALSE(IsSwitch("//s", 's')) << "only one leading character is skipped";
    EXPECT_FALSE(IsSwitch("-/s", 's'));
    EXPECT_FALSE(IsSwitch("/", 's'));
    EXPECT_FALSE(IsSwitch("", 's'));
    EXPECT_FALSE(IsSwitch(" /s", 's'));
    EXPECT_FALSE(IsSwitch(nullptr, 's'));
}

TEST(SelectMode, NoArgumentAndCAreConfigure)
{
    EXPECT_EQ(ModeOf({}), SAVER_CONFIGURE);
    EXPECT_EQ(ModeOf({"/c"}), SAVER_CONFIGURE);
    EXPECT_EQ(ModeOf({"-c"}), SAVER_CONFIGURE);
    EXPECT_EQ(ModeOf({"c"}), SAVER_CONFIGURE);
    EXPECT_EQ(ModeOf({"/C"}), SAVER_CONFIGURE);
    EXPECT_EQ(ModeOf({"/c:1234"}), SAVER_CONFIGURE) << "the handle after the colon is ignored";
}

TEST(SelectMode, PAndSArePreviewAndFullScreen)
{
    EXPECT_EQ(ModeOf({"/p", "1234"}), SAVER_PREVIEW);
    EXPECT_EQ(ModeOf({"-P", "1234"}), SAVER_PREVIEW);
    EXPECT_EQ(ModeOf({"/p"}), SAVER_PREVIEW) << "the missing handle is the preview's to refuse";
    EXPECT_EQ(ModeOf({"/s"}), SAVER_FULL_SCREEN);
    EXPECT_EQ(ModeOf({"-S"}), SAVER_FULL_SCREEN);
    EXPECT_EQ(ModeOf({"s"}), SAVER_FULL_SCREEN);
    EXPECT_EQ(ModeOf({"/s", "extra", "more"}), SAVER_FULL_SCREEN);
}

TEST(SelectMode, UnknownSwitchesSelectNothing)
{
    EXPECT_EQ(ModeOf({"//s"}), SAVER_NONE);
    EXPECT_EQ(ModeOf({"/x"}), SAVER_NONE);
    EXPECT_EQ(ModeOf({"/"}), SAVER_NONE);
    EXPECT_EQ(ModeOf({""}), SAVER_NONE);
    EXPECT_EQ(ModeOf({"-"}), SAVER_NONE);
    EXPECT_EQ(ModeOf({"x", "/s"}), SAVER_NONE) << "only argument 1 holds the switch";
}

TEST(PreviewHandleText, ComesAfterTheColonOrFromTheNextArgument)
{
    CArguments colon({"/p:4660", "99"});
    EXPECT_STREQ(FindPreviewHandleText(colon.Count(), colon.Vector()), "4660");
    CArguments separate({"/p", "4660", "99"});
    EXPECT_STREQ(FindPreviewHandleText(separate.Count(), separate.Vector()), "4660");
    CArguments emptyAfterColon({"/p:", "4660"});
    EXPECT_STREQ(FindPreviewHandleText(emptyAfterColon.Count(), emptyAfterColon.Vector()), "");
    CArguments missing({"/p"});
    EXPECT_EQ(FindPreviewHandleText(missing.Count(), missing.Vector()), nullptr);
}

TEST(ParseWindowHandle, ReadsDecimalAndTakesTheLow32Bits)
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
}

TEST(ParseWindowHandle, RefusesMissingGarbageAndZero)
{
    EXPECT_EQ(ParseWindowHandle(nullptr), nullptr);
    EXPECT_EQ(ParseWindowHandle(""), nullptr);
    EXPECT_EQ(ParseWindowHandle("garbage"), nullptr);
    EXPECT_EQ(ParseWindowHandle("-"), nullptr);
    EXPECT_EQ(ParseWindowHandle("0"), nullptr);
    EXPECT_EQ(ParseWindowHandle("4294967296"), nullptr) << "2^32: its low 32 bits are 0";
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

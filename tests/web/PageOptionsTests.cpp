#include <gtest/gtest.h>

#include <string>

#include "web/CanvasResolution.h"
#include "web/PageOptions.h"

namespace {

struct QueryCase {
    const char* query;
    const char* setting; // the setting looked at, as the address writes it
    const char* value;
    const char* ignored;
};

std::string Value(const CDisplayOptions& options, const char* name)
{
    char text[16];
    FormatPageOption(options, *FindPageSetting(name), text, sizeof text);
    return text;
}

TEST(PageOptionsTest, QueryTakesValidParametersAndNamesTheOthers)
{
    const QueryCase cases[] = {
        {"", "cars", "2", ""},
        {"?cars=4&people=100", "cars", "4", ""},
        {"?cars=4&people=100", "people", "100", ""},
        {"?cars=banana", "cars", "2", "cars=banana"},
        {"?people=5&scale=30", "people", "50", "people=5"},
        {"?people=5&scale=30", "scale", "30", "people=5"},
        {"driver=smart&legend=0", "driver", "3", ""},
        {"?back-colour=%23a0B0c0", "back-colour", "A0B0C0", ""},
        {"?colours=2&temper=0&floors=26", "colours", "1", "colours=2\ntemper=0\nfloors=26"},
        {"?cars&&nosuch=1&cars=10", "cars", "10", "cars\nnosuch=1"},
        {"?cars=4=5&cars=%34", "cars", "4", "cars=4=5"},
        {"?cars=%&pass-interval=1e3", "pass-interval", "500", "cars=%\npass-interval=1e3"},
        // With no scale the page fits the building; a scale given is kept, the default's too.
        {"", "scale", "fit", ""},
        {"?scale=25", "scale", "25", ""},
        {"?scale=30&scale=fit", "scale", "fit", ""},
        {"?scale=Fit", "scale", "fit", "scale=Fit"},
        // Of a setting given twice the last valid value wins; a hidden NUL is no digit, and a
        // control character is shown as the address writes it, never as a break in the list.
        {"?cars=4&cars=x", "cars", "4", "cars=x"},
        {"?cars=x&cars=4&cars=6", "cars", "6", "cars=x"},
        {"?cars=4%00junk&cars=%0A5&cars=x%0Dy%09", "cars", "2", "cars=4%00junk\ncars=%0A5\ncars=x%0Dy%09"},
    };
    for (const QueryCase& test : cases) {
        CDisplayOptions options;
        char ignored[256];
        ParsePageQuery(test.query, options, ignored, sizeof ignored);
        EXPECT_EQ(Value(options, test.setting), test.value) << test.query;
        EXPECT_STREQ(ignored, test.ignored) << test.query;
    }
}

TEST(PageOptionsTest, EverySettingTakesTheTablesRangeAndNothingBeyond)
{
    for (int32_t index = 0; index < PAGE_SETTING_COUNT; ++index) {
        const PageSetting& setting = PAGE_SETTINGS[index];
        if (setting.key == nullptr)
            continue;
        CDisplayOptions options;
        EXPECT_EQ(options.*setting.field, setting.key->defaultValue) << setting.name;
        for (const int32_t value : {setting.key->minimum - 1, setting.key->maximum + 1})
            EXPECT_EQ(SetPageOption(options, setting.name, std::to_string(value).c_str()), nullptr) << setting.name;
        for (const int32_t value : {setting.key->minimum, setting.key->maximum}) {
            EXPECT_EQ(SetPageOption(options, setting.name, std::to_string(value).c_str()), &setting) << setting.name;
            EXPECT_EQ(options.*setting.field, value) << setting.name;
        }
    }
}

TEST(PageOptionsTest, FormattedQueryGivesTheSameSettingsAndOmitsDefaults)
{
    CDisplayOptions options;
    char query[256];
    FormatPageQuery(options, query, sizeof query);
    EXPECT_STREQ(query, "");
    SetPageOption(options, "temper", "50");
    SetPageOption(options, "back-colour", "102030");
    SetPageOption(options, "cars", "10");
    SetPageOption(options, "driver", "1");
    FormatPageQuery(options, query, sizeof query);
    EXPECT_STREQ(query, "?cars=10&driver=auto-ground&back-colour=102030&temper=50");
    CDisplayOptions read;
    char ignored[64];
    ParsePageQuery(query, read, ignored, sizeof ignored);
    for (int32_t index = 0; index < PAGE_SETTING_COUNT; ++index)
        EXPECT_EQ(Value(read, PAGE_SETTINGS[index].name), Value(options, PAGE_SETTINGS[index].name));
}

TEST(PageOptionsTest, LongIgnoredListIsCutShortWithinItsBuffer)
{
    CDisplayOptions options;
    char ignored[12];
    EXPECT_EQ(ParsePageQuery("?a=1&b=2&c=3&d=4&e=5&cars=3", options, ignored, sizeof ignored), 5);
    EXPECT_STREQ(ignored, "a=1\nb=2\nc=3");
    EXPECT_EQ(options.m_cars, 3);
}

// The canvas keeps the device's ratio up to a 4K screen's pixels, then halves it, never below 1.
TEST(CanvasResolutionTest, CanvasHoldsAtMostA4kScreensPixelsAndEnlargesByWholeFactors)
{
    struct {
        double cssWidth, cssHeight, deviceRatio, canvasRatio;
    } const cases[] = {
        {390, 844, 3, 3},         {1920, 1080, 1, 1},      {1920, 1080, 2, 2},   {3840, 2160, 1, 1},
        {3840, 2160, 2, 1},       {2560, 1440, 3, 1.5},    {3840, 2160, 1.5, 1}, {7680, 4320, 1, 1},
        {1920, 1080, 4.5, 1.125}, {1440, 900, 0.75, 0.75},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(GetCanvasPixelRatio(test.cssWidth, test.cssHeight, test.deviceRatio), test.canvasRatio)
            << test.cssWidth << " x " << test.cssHeight << " at " << test.deviceRatio;
    }
}

} // namespace

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/MemoryStore.h"
#include "settings/ViewSettings.h"

namespace {

// Every loaded member with its default (typed here rather than taken from the key table, so a
// wrong table entry shows). How every route into a view limits them is checked once for all
// routes, with the runtime's tests.
struct Field {
    const SettingKey* key;
    int32_t ViewSettings::*member;
    int32_t defaultValue;
};
const Field FIELDS[] = {
    {&Setting::People, &ViewSettings::people, 50},
    {&Setting::Capacity, &ViewSettings::capacity, 5},
    {&Setting::Cars, &ViewSettings::cars, 2},
    {&Setting::Driver, &ViewSettings::driver, 0},
    {&Setting::Scale, &ViewSettings::scale, 25},
    {&Setting::NoFloors, &ViewSettings::floors, 10},
    {&Setting::LiftPause, &ViewSettings::liftPause, 15},
    {&Setting::PassPause, &ViewSettings::passPause, 50},
    {&Setting::PassIntvl, &ViewSettings::passInterval, 500},
    {&Setting::Temper, &ViewSettings::temper, 10},
    {&Setting::UpdSpd, &ViewSettings::updateSpeed, 80},
    {&Setting::Legend, &ViewSettings::legend, 1},
    {&Setting::Colours, &ViewSettings::colours, 1},
};

TEST(ViewSettings, EmptyStoreGivesTheDefaultsReadInTheViewsOrderWithoutStoringAnything)
{
    CMemoryStore store;
    const ViewSettings settings = LoadViewSettings(store);
    for (const Field& field : FIELDS)
        EXPECT_EQ(settings.*field.member, field.defaultValue) << field.key->name;
    EXPECT_EQ(settings.backColour, MakeColour(0, 0, 128));
    EXPECT_EQ(LiftPeriodFromSpeed(settings.updateSpeed), 101);
    EXPECT_EQ(store.ValueCount(), 0);
    std::vector<std::string> read;
    for (const CMemoryStore::Access& access : store.m_reads)
        read.push_back(access.section + "/" + access.key);
    EXPECT_EQ(read,
              (std::vector<std::string>{"Config/People", "Config/Capacity", "Config/Driver", "Config/Scale",
                                        "Config/ColorBlue", "Config/ColorGreen", "Config/ColorRed", "Config/Legend",
                                        "Config/Colours", "Custom/NoFloors", "Custom/LiftPause", "Custom/PassPause",
                                        "Custom/PassIntvl", "Custom/Temper", "Config/Cars", "Config/UpdSpd"}));
}

TEST(ViewSettings, UpdateSpeedAloneIsLimitedSoTheLiftTimerKeepsAPositivePeriod)
{
    CMemoryStore store;
    EXPECT_EQ(LoadUpdateSpeed(store), 80);
    const int32_t cases[][2] = {{-5, 501}, {1, 496}, {100, 1}, {250, 1}};
    for (const auto& speedCase : cases) {
        store.Write(Setting::UpdSpd, speedCase[0]);
        EXPECT_EQ(LiftPeriodFromSpeed(LoadUpdateSpeed(store)), speedCase[1]) << speedCase[0];
    }
}

TEST(ViewSettings, EveryMonitorIsOffUntilStoredAndAnyStoredValueReadsAsZeroOrOne)
{
    CMemoryStore store;
    EXPECT_EQ(LoadAllMonitors(store), 0);
    const int32_t cases[][2] = {{0, 0}, {1, 1}, {2, 1}, {-1, 1}, {INT32_MIN, 1}};
    for (const auto& flagCase : cases) {
        store.Write(Setting::AllMonitors, flagCase[0]);
        EXPECT_EQ(LoadAllMonitors(store), flagCase[1]) << flagCase[0];
    }
}

// The Properties dialog hands a stored speed on unlimited, so the period itself must hold for any
// speed: no overflow of 5 * speed, a negative speed as 0, a fast one as the fastest tick.
TEST(ViewSettings, LiftPeriodHoldsForEverySpeedAnyPathCanHandOn)
{
    const int32_t cases[][2] = {{INT32_MIN, 501}, {-1000000000, 501}, {-5, 501},      {-1, 501},
                                {0, 501},         {1, 496},           {80, 101},      {99, 6},
                                {100, 1},         {101, 1},           {429496730, 1}, {INT32_MAX, 1}};
    for (const auto& speedCase : cases)
        EXPECT_EQ(LiftPeriodFromSpeed(speedCase[0]), speedCase[1]) << speedCase[0];
}

TEST(BackColour, OnlyTheLowByteOfEachComponentCountsReadingBlueFirstAndWritingRedFirst)
{
    CMemoryStore store;
    store.Write(Setting::ColorRed, 300);
    store.Write(Setting::ColorGreen, -1);
    store.Write(Setting::ColorBlue, 256 + 7);
    store.m_reads.clear();
    store.m_writes.clear();
    const Colour colour = ReadBackColour(store);
    EXPECT_EQ(colour, MakeColour(44, 255, 7));
    EXPECT_EQ(colour >> 24, 0u);
    ASSERT_EQ(store.m_reads.size(), 3u);
    EXPECT_EQ(store.m_reads[0].key + store.m_reads[1].key + store.m_reads[2].key, "ColorBlueColorGreenColorRed");

    WriteBackColour(store, 0xFF123456u); // the high byte is not a component
    ASSERT_EQ(store.m_writes.size(), 3u);
    EXPECT_EQ(store.m_writes[0].key + store.m_writes[1].key + store.m_writes[2].key, "ColorRedColorGreenColorBlue");
    EXPECT_EQ(store.Read(Setting::ColorRed), 0x56);
    EXPECT_EQ(store.Read(Setting::ColorGreen), 0x34);
    EXPECT_EQ(store.Read(Setting::ColorBlue), 0x12);
}

} // namespace

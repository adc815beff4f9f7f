#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/MemoryStore.h"
#include "settings/ViewSettings.h"

namespace {

TEST(ViewSettings, EmptyStoreGivesTheDocumentedDefaults)
{
    CMemoryStore store;
    const ViewSettings settings = LoadViewSettings(store);
    EXPECT_EQ(settings.people, 50);
    EXPECT_EQ(settings.capacity, 5);
    EXPECT_EQ(settings.cars, 2);
    EXPECT_EQ(settings.driver, 0);
    EXPECT_EQ(settings.scale, 25);
    EXPECT_EQ(settings.backColour, MakeColour(0, 0, 128));
    EXPECT_EQ(settings.legend, 1);
    EXPECT_EQ(settings.colours, 1);
    EXPECT_EQ(settings.floors, 10);
    EXPECT_EQ(settings.liftPause, 15);
    EXPECT_EQ(settings.passPause, 50);
    EXPECT_EQ(settings.passInterval, 500);
    EXPECT_EQ(settings.temper, 10);
    EXPECT_EQ(settings.updateSpeed, 80);
    EXPECT_EQ(LiftPeriodFromSpeed(settings.updateSpeed), 101);
    EXPECT_EQ(store.ValueCount(), 0) << "loading must not store anything";
}

TEST(ViewSettings, ReadsInTheViewsOrder)
{
    CMemoryStore store;
    LoadViewSettings(store);
    const std::vector<std::string> expected = {
        "Config/People",    "Config/Capacity",  "Config/Driver",    "Config/Scale",    "Config/ColorBlue",
        "Config/ColorGreen", "Config/ColorRed", "Config/Legend",    "Config/Colours",  "Custom/NoFloors",
        "Custom/LiftPause", "Custom/PassPause", "Custom/PassIntvl", "Custom/Temper",   "Config/Cars",
        "Config/UpdSpd",
    };
    std::vector<std::string> actual;
    for (const CMemoryStore::Access& access : store.m_reads) {
        actual.push_back(access.section + "/" + access.key);
    }
    EXPECT_EQ(actual, expected);
}

TEST(ViewSettings, StoredValuesInsideTheRangesPassUnchanged)
{
    CMemoryStore store;
    store.Write(Setting::People, 10);
    store.Write(Setting::Capacity, 10);
    store.Write(Setting::Cars, 10);
    store.Write(Setting::Driver, 3);
    store.Write(Setting::Scale, 50);
    store.Write(Setting::Legend, 0);
    store.Write(Setting::Colours, 0);
    store.Write(Setting::NoFloors, 25);
    store.Write(Setting::LiftPause, 1);
    store.Write(Setting::PassPause, 300);
    store.Write(Setting::PassIntvl, 100);
    store.Write(Setting::Temper, 50);
    store.Write(Setting::UpdSpd, 0);
    const ViewSettings settings = LoadViewSettings(store);
    EXPECT_EQ(settings.people, 10);
    EXPECT_EQ(settings.capacity, 10);
    EXPECT_EQ(settings.cars, 10);
    EXPECT_EQ(settings.driver, 3);
    EXPECT_EQ(settings.scale, 50);
    EXPECT_EQ(settings.legend, 0);
    EXPECT_EQ(settings.colours, 0);
    EXPECT_EQ(settings.floors, 25);
    EXPECT_EQ(settings.liftPause, 1);
    EXPECT_EQ(settings.passPause, 300);
    EXPECT_EQ(settings.passInterval, 100);
    EXPECT_EQ(settings.temper, 50);
    EXPECT_EQ(settings.updateSpeed, 0);
}

struct LimitCase {
    const SettingKey* key;
    int32_t stored;
    int32_t loaded;
};

int32_t LoadedField(const ViewSettings& settings, const SettingKey& key)
{
    if (&key == &Setting::People) return settings.people;
    if (&key == &Setting::Capacity) return settings.capacity;
    if (&key == &Setting::Cars) return settings.cars;
    if (&key == &Setting::Driver) return settings.driver;
    if (&key == &Setting::Scale) return settings.scale;
    if (&key == &Setting::Legend) return settings.legend;
    if (&key == &Setting::Colours) return settings.colours;
    if (&key == &Setting::NoFloors) return settings.floors;
    if (&key == &Setting::LiftPause) return settings.liftPause;
    if (&key == &Setting::PassPause) return settings.passPause;
    if (&key == &Setting::PassIntvl) return settings.passInterval;
    if (&key == &Setting::Temper) return settings.temper;
    if (&key == &Setting::UpdSpd) return settings.updateSpeed;
    ADD_FAILURE() << "no field for " << key.name;
    return 0;
}

TEST(ViewSettings, OutOfRangeValuesAreLimitedToTheDialogRanges)
{
    const LimitCase cases[] = {
        {&Setting::People, 9, 10},          {&Setting::People, 101, 100},
        {&Setting::People, INT32_MIN, 10},  {&Setting::People, INT32_MAX, 100},
        {&Setting::Capacity, 0, 1},         {&Setting::Capacity, 11, 10},
        {&Setting::Capacity, INT32_MIN, 1}, {&Setting::Capacity, INT32_MAX, 10},
        {&Setting::Cars, 0, 1},             {&Setting::Cars, -3, 1},
        {&Setting::Cars, 11, 10},           {&Setting::Cars, INT32_MAX, 10},
        {&Setting::Cars, INT32_MIN, 1},     {&Setting::Driver, -1, 0},
        {&Setting::Driver, 4, 3},           {&Setting::Driver, INT32_MIN, 0},
        {&Setting::Driver, INT32_MAX, 3},   {&Setting::Scale, 0, 20},
        {&Setting::Scale, -25, 20},         {&Setting::Scale, 51, 50},
        {&Setting::Scale, INT32_MIN, 20},   {&Setting::Scale, INT32_MAX, 50},
        {&Setting::NoFloors, 3, 4},         {&Setting::NoFloors, 26, 25},
        {&Setting::NoFloors, 30, 25},       {&Setting::NoFloors, INT32_MIN, 4},
        {&Setting::NoFloors, INT32_MAX, 25}, {&Setting::LiftPause, 0, 1},
        {&Setting::LiftPause, 31, 30},      {&Setting::LiftPause, INT32_MIN, 1},
        {&Setting::LiftPause, INT32_MAX, 30}, {&Setting::PassPause, 9, 10},
        {&Setting::PassPause, 0, 10},       {&Setting::PassPause, 301, 300},
        {&Setting::PassPause, INT32_MIN, 10}, {&Setting::PassPause, INT32_MAX, 300},
        {&Setting::PassIntvl, 99, 100},     {&Setting::PassIntvl, 0, 100},
        {&Setting::PassIntvl, 2001, 2000},  {&Setting::PassIntvl, INT32_MIN, 100},
        {&Setting::PassIntvl, INT32_MAX, 2000}, {&Setting::Temper, 0, 1},
        {&Setting::Temper, 51, 50},         {&Setting::Temper, INT32_MIN, 1},
        {&Setting::Temper, INT32_MAX, 50},  {&Setting::UpdSpd, -5, 0},
        {&Setting::UpdSpd, 101, 100},       {&Setting::UpdSpd, INT32_MIN, 0},
        {&Setting::UpdSpd, INT32_MAX, 100}, {&Setting::Legend, 2, 1},
        {&Setting::Legend, -1, 1},          {&Setting::Legend, INT32_MIN, 1},
        {&Setting::Legend, INT32_MAX, 1},   {&Setting::Colours, 5, 1},
        {&Setting::Colours, INT32_MIN, 1},  {&Setting::Colours, INT32_MAX, 1},
    };
    for (const LimitCase& limitCase : cases) {
        CMemoryStore store;
        store.Write(*limitCase.key, limitCase.stored);
        const ViewSettings settings = LoadViewSettings(store);
        EXPECT_EQ(LoadedField(settings, *limitCase.key), limitCase.loaded)
            << limitCase.key->name << " stored as " << limitCase.stored;
    }
}

TEST(ViewSettings, UpdateSpeedAloneIsLimitedToZeroThroughHundred)
{
    CMemoryStore store;
    EXPECT_EQ(LoadUpdateSpeed(store), 80);
    store.Write(Setting::UpdSpd, -5);
    EXPECT_EQ(LoadUpdateSpeed(store), 0);
    EXPECT_EQ(LiftPeriodFromSpeed(LoadUpdateSpeed(store)), 501);
    store.Write(Setting::UpdSpd, 1);
    EXPECT_EQ(LiftPeriodFromSpeed(LoadUpdateSpeed(store)), 496);
    store.Write(Setting::UpdSpd, 100);
    EXPECT_EQ(LiftPeriodFromSpeed(LoadUpdateSpeed(store)), 1);
    store.Write(Setting::UpdSpd, 250);
    EXPECT_EQ(LiftPeriodFromSpeed(LoadUpdateSpeed(store)), 1) << "the lift timer must never get a period below 1";
}

TEST(BackColour, OnlyTheLowByteOfEachComponentCounts)
{
    CMemoryStore store;
    store.Write(Setting::ColorRed, 300);
    store.Write(Setting::ColorGreen, -1);
    store.Write(Setting::ColorBlue, 256 + 7);
    const Colour colour = ReadBackColour(store);
    EXPECT_EQ(RedOf(colour), 44u);
    EXPECT_EQ(GreenOf(colour), 255u);
    EXPECT_EQ(BlueOf(colour), 7u);
    EXPECT_EQ(colour >> 24, 0u);
}

TEST(BackColour, ReadsBlueGreenRedAndWritesRedGreenBlue)
{
    CMemoryStore store;
    ReadBackColour(store);
    ASSERT_EQ(store.m_reads.size(), 3u);
    EXPECT_EQ(store.m_reads[0].key, "ColorBlue");
    EXPECT_EQ(store.m_reads[1].key, "ColorGreen");
    EXPECT_EQ(store.m_reads[2].key, "ColorRed");

    WriteBackColour(store, MakeColour(1, 2, 3));
    ASSERT_EQ(store.m_writes.size(), 3u);
    EXPECT_EQ(store.m_writes[0].key, "ColorRed");
    EXPECT_EQ(store.m_writes[0].value, 1);
    EXPECT_EQ(store.m_writes[1].key, "ColorGreen");
    EXPECT_EQ(store.m_writes[1].value, 2);
    EXPECT_EQ(store.m_writes[2].key, "ColorBlue");
    EXPECT_EQ(store.m_writes[2].value, 3);
}

TEST(BackColour, AnOversizedRedIsWrittenBackAsItsLowByte)
{
    CMemoryStore store;
    store.Write(Setting::ColorRed, 300);
    WriteBackColour(store, ReadBackColour(store));
    EXPECT_EQ(store.Read(Setting::ColorRed), 44);
    EXPECT_EQ(store.Read(Setting::ColorGreen), 0);
    EXPECT_EQ(store.Read(Setting::ColorBlue), 128);
}

TEST(BackColour, HighBitsOfTheColourAreNotWritten)
{
    CMemoryStore store;
    WriteBackColour(store, 0xFF123456u);
    EXPECT_EQ(store.Read(Setting::ColorRed), 0x56);
    EXPECT_EQ(store.Read(Setting::ColorGreen), 0x34);
    EXPECT_EQ(store.Read(Setting::ColorBlue), 0x12);
}

} // namespace

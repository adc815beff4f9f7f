#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <utility>

#include "settings/MemoryStore.h"
#include "settings/SettingsTable.h"

namespace {

TEST(SettingsTable, EveryKeyIsListedOnceUnderItsSection)
{
    std::set<std::pair<std::string, std::string>> seen;
    const std::set<std::string> sections = {"Config", "Custom", "Version", "Settings", "Counters"};
    for (int32_t index = 0; index < Setting::AllCount; ++index) {
        const SettingKey& key = *Setting::All[index];
        EXPECT_TRUE(sections.count(key.section)) << key.section;
        EXPECT_TRUE(seen.insert({key.section, key.name}).second) << key.section << "/" << key.name;
        EXPECT_LE(key.minimum, key.maximum) << key.name;
        EXPECT_EQ(LimitToRange(key, key.defaultValue), key.defaultValue) << key.name << " default outside its range";
    }
    EXPECT_EQ(Setting::AllCount, 26);
}

TEST(SettingsTable, LimitToRangeHoldsTheExtremes)
{
    EXPECT_EQ(LimitToRange(Setting::People, INT32_MIN), 10);
    EXPECT_EQ(LimitToRange(Setting::People, INT32_MAX), 100);
    EXPECT_EQ(LimitToRange(Setting::People, 10), 10);
    EXPECT_EQ(LimitToRange(Setting::People, 100), 100);
    EXPECT_EQ(LimitToRange(Setting::Date, INT32_MIN), INT32_MIN);
    EXPECT_EQ(LimitToRange(Setting::Date, INT32_MAX), INT32_MAX);
}

TEST(MemoryStore, MissingValuesReadAsTheCallersDefaultAndAreNotStored)
{
    CMemoryStore store;
    EXPECT_EQ(store.Read("Config", "People", 77), 77);
    EXPECT_EQ(store.Read(Setting::People), 50);
    EXPECT_FALSE(store.Contains(Setting::People));
    EXPECT_EQ(store.ValueCount(), 0);
}

TEST(MemoryStore, WriteReplacesAndWipeRemovesEverything)
{
    CMemoryStore store;
    store.Write(Setting::People, 20);
    store.Write(Setting::People, 30);
    store.Write(Setting::Resets, 4);
    EXPECT_EQ(store.Read(Setting::People), 30);
    EXPECT_EQ(store.ValueCount(), 2);
    store.Wipe();
    EXPECT_EQ(store.ValueCount(), 0);
    EXPECT_EQ(store.Read(Setting::People), 50);
    EXPECT_EQ(store.Read(Setting::Resets), 0);
}

TEST(MemoryStore, SectionsKeepSameNamedKeysApart)
{
    CMemoryStore store;
    store.Write("Config", "Value", 1);
    store.Write("Custom", "Value", 2);
    EXPECT_EQ(store.Read("Config", "Value", 0), 1);
    EXPECT_EQ(store.Read("Custom", "Value", 0), 2);
}

} // namespace

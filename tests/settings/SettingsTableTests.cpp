#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "settings/MemoryStore.h"
#include "settings/SettingsTable.h"

namespace {

TEST(SettingsTable, EveryKeyIsListedOnceWithItsDefaultInsideItsRange)
{
    std::set<std::pair<std::string, std::string>> seen;
    const std::set<std::string> sections = {"Config", "Custom", "Version", "Settings", "Counters"};
    for (int32_t index = 0; index < Setting::AllCount; ++index) {
        const SettingKey& key = *Setting::All[index];
        EXPECT_TRUE(sections.count(key.section)) << key.section;
        EXPECT_TRUE(seen.insert({key.section, key.name}).second) << key.section << "/" << key.name;
        EXPECT_EQ(LimitToRange(key, key.defaultValue), key.defaultValue) << key.name;
    }
    EXPECT_EQ(Setting::AllCount, 27);
    EXPECT_EQ(LimitToRange(Setting::People, INT32_MIN), 10);
    EXPECT_EQ(LimitToRange(Setting::People, INT32_MAX), 100);
    EXPECT_EQ(LimitToRange(Setting::Date, INT32_MIN), INT32_MIN) << "an unlimited key";
}

TEST(MemoryStore, KeepsValuesPerSectionAndKeyUntilWiped)
{
    CMemoryStore store;
    EXPECT_EQ(store.Read("Config", "People", 77), 77) << "missing reads the caller's default";
    EXPECT_EQ(store.Read(Setting::People), 50);
    EXPECT_EQ(store.ValueCount(), 0) << "reading stores nothing";
    store.Write(Setting::People, 20);
    store.Write(Setting::People, 30);
    store.Write("Custom", "People", 2);
    EXPECT_EQ(store.Read(Setting::People), 30);
    EXPECT_EQ(store.Read("Custom", "People", 0), 2);
    EXPECT_EQ(store.ValueCount(), 2);
    store.Wipe();
    EXPECT_EQ(store.ValueCount(), 0);
    EXPECT_FALSE(store.Contains(Setting::People));
}

} // namespace

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "settings/ConfigureRules.h"
#include "settings/Install.h"
#include "settings/MemoryStore.h"

namespace {
// "section/key=value" for each logged access, so that an order shows in one comparison.
std::vector<std::string> Describe(const std::vector<CMemoryStore::Access>& accesses)
{
    std::vector<std::string> lines;
    for (const CMemoryStore::Access& access : accesses) {
        lines.push_back(access.section + "/" + access.key + "=" + std::to_string(access.value));
    }
    return lines;
}

std::vector<std::string> KeysOf(const std::vector<CMemoryStore::Access>& accesses)
{
    std::vector<std::string> lines;
    for (const CMemoryStore::Access& access : accesses) {
        lines.push_back(access.section + "/" + access.key);
    }
    return lines;
}

InternalSettings ValidInternalSettings()
{
    return InternalSettings{20, 10, 15, 50, 500, 10};
}
} // namespace

TEST(MonthCount, CountsCalendarMonthsFromTheReminderEpoch)
{
    EXPECT_EQ(14, MonthCount(98, 1));                       // February 1998
    EXPECT_EQ(85, MonthCount(104, 0));                      // January 2004
    EXPECT_EQ(MonthCount(125, 11) + 1, MonthCount(126, 0)); // December to January
}

TEST(VersionRecords, OlderOrMissingVersionIsRecordedAndCurrentOrNewerIsLeftAlone)
{
    CMemoryStore empty;
    UpdateVersionRecords(empty);
    EXPECT_EQ((std::vector<std::string>{"Version/Previous Version=0", "Version/Current Version=100",
                                        "Version/Current Update=0"}),
              Describe(empty.m_writes));
    for (int32_t version : {-5, 99}) {
        CMemoryStore store;
        store.Write(Setting::CurrentVersion, version);
        UpdateVersionRecords(store);
        EXPECT_EQ(version, store.Read(Setting::PreviousVersion));
        EXPECT_EQ(100, store.Read(Setting::CurrentVersion));
        EXPECT_EQ(0, store.Read(Setting::CurrentUpdate));
    }
    for (int32_t version : {100, 101, INT32_MAX}) {
        CMemoryStore current;
        current.Write(Setting::CurrentVersion, version);
        current.ClearLogs();
        UpdateVersionRecords(current);
        EXPECT_TRUE(current.m_writes.empty()) << version;
        EXPECT_EQ(1, current.ValueCount()) << version;
    }
}

TEST(ReminderDate, AdvancesOnceOnTheFirstStartOfALaterMonthOnly)
{
    CMemoryStore store;
    EXPECT_FALSE(AdvanceReminderDate(store, 14)) << "an absent date counts as February 1998";
    EXPECT_FALSE(store.Contains(Setting::Date));
    EXPECT_TRUE(AdvanceReminderDate(store, 300));
    EXPECT_EQ(300, store.Read(Setting::Date));
    store.ClearLogs();
    EXPECT_FALSE(AdvanceReminderDate(store, 300)) << "second start in the same month";
    EXPECT_FALSE(AdvanceReminderDate(store, 290)) << "clock set back";
    EXPECT_TRUE(store.m_writes.empty());
    EXPECT_EQ(300, store.Read(Setting::Date));
    EXPECT_TRUE(AdvanceReminderDate(store, 301));
    EXPECT_EQ(301, store.Read(Setting::Date));
}

TEST(MessageChoice, OnlyOkStoresTheTickedState)
{
    CMemoryStore store;
    StoreMessageChoice(store, Setting::SuppressFirst, false, 1);
    EXPECT_FALSE(store.Contains(Setting::SuppressFirst));
    StoreMessageChoice(store, Setting::SuppressFirst, true, 1);
    EXPECT_EQ(1, store.Read(Setting::SuppressFirst));
    StoreMessageChoice(store, Setting::SuppressFirst, true, 0);
    EXPECT_EQ(0, store.Read(Setting::SuppressFirst));
}

TEST(InternalSettingsWarning, EachRowPassesAtItsBoundsAndIsRefusedOneBeyond)
{
    struct Row {
        int32_t InternalSettings::*value;
        int32_t minimum;
        int32_t maximum;
        const char* warning;
    };
    const Row rows[] = {
        {&InternalSettings::baseScale, 20, 50, "Base Scale should be between 20 and 50"},
        {&InternalSettings::floors, 4, 25, "Number of floors should be between 4 and 25"},
        {&InternalSettings::liftPause, 1, 30, "Lift pause should be between 1 and 30 secs"},
        {&InternalSettings::personPause, 10, 300, "Person pause should be between 10 and 300 secs"},
        {&InternalSettings::personInterval, 100, 2000, "Person interval should be between 100 and 2000 msecs"},
        {&InternalSettings::impatience, 1, 50, "Impatience level should be between 1 and 50"},
    };
    for (const Row& row : rows) {
        InternalSettings settings = ValidInternalSettings();
        settings.*row.value = row.minimum;
        EXPECT_EQ(nullptr, FindInternalSettingsWarning(settings)) << row.warning;
        settings.*row.value = row.maximum;
        EXPECT_EQ(nullptr, FindInternalSettingsWarning(settings)) << row.warning;
        settings.*row.value = row.minimum - 1;
        EXPECT_STREQ(row.warning, FindInternalSettingsWarning(settings));
        settings.*row.value = row.maximum + 1;
        EXPECT_STREQ(row.warning, FindInternalSettingsWarning(settings));
        settings.*row.value = INT32_MIN;
        EXPECT_STREQ(row.warning, FindInternalSettingsWarning(settings));
    }
}

TEST(InternalSettingsWarning, OnlyTheFirstOffenderIsNamed)
{
    InternalSettings settings = ValidInternalSettings();
    settings.baseScale = 60;
    settings.floors = 3;
    settings.impatience = 0;
    EXPECT_STREQ("Base Scale should be between 20 and 50", FindInternalSettingsWarning(settings));
    settings.baseScale = 30;
    EXPECT_STREQ("Number of floors should be between 4 and 25", FindInternalSettingsWarning(settings));
    settings.floors = 30; // a stored 30 fits the model's tables but not the building
    EXPECT_STREQ("Number of floors should be between 4 and 25", FindInternalSettingsWarning(settings));
    settings.floors = 25;
    EXPECT_STREQ("Impatience level should be between 1 and 50", FindInternalSettingsWarning(settings));
}

TEST(InternalSettingsWarning, UseDefaultsGivesTheTableDefaultsWhichPass)
{
    const InternalSettings defaults = DefaultInternalSettings();
    const InternalSettings expected = ValidInternalSettings();
    EXPECT_EQ(0, std::memcmp(&expected, &defaults, sizeof defaults));
    EXPECT_EQ(nullptr, FindInternalSettingsWarning(defaults));
}

TEST(MainSettings, LoadGivesTheDefaultsOrTheStoredValuesUnlimitedInTheConfigureOrder)
{
    CMemoryStore store;
    const MainSettings defaults = LoadMainSettings(store);
    EXPECT_EQ(
        (std::vector<int32_t>{50, 5, 2, 0, 25}),
        (std::vector<int32_t>{defaults.people, defaults.capacity, defaults.lifts, defaults.driver, defaults.scale}));
    EXPECT_EQ(MakeColour(0, 0, 128), defaults.colour);

    store.Write(Setting::People, 500);
    store.Write(Setting::Cars, 0);
    store.Write(Setting::Network, 5);
    store.Write(Setting::ColorRed, 300);
    store.ClearLogs();
    const MainSettings settings = LoadMainSettings(store);
    EXPECT_EQ(
        (std::vector<std::string>{"Config/People", "Config/Capacity", "Config/Driver", "Config/Network", "Config/Cars",
                                  "Config/Scale", "Config/ColorBlue", "Config/ColorGreen", "Config/ColorRed"}),
        KeysOf(store.m_reads));
    EXPECT_EQ(500, settings.people);
    EXPECT_EQ(0, settings.lifts);
    EXPECT_EQ(5, settings.network);
    EXPECT_EQ(MakeColour(44, 0, 128), settings.colour); // only the low byte of 300 counts
}

TEST(MainSettings, SaveWritesNineKeysInOrderWithNetworkAlwaysZero)
{
    CMemoryStore store;
    SaveMainSettings(store, MainSettings{77, 6, 9, 2, -1, 33, MakeColour(10, 20, 30)});
    EXPECT_EQ((std::vector<std::string>{"Config/ColorRed=10", "Config/ColorGreen=20", "Config/ColorBlue=30",
                                        "Config/People=77", "Config/Scale=33", "Config/Capacity=6", "Config/Driver=2",
                                        "Config/Network=0", "Config/Cars=9"}),
              Describe(store.m_writes));
}

TEST(ResetAll, KeepsOnlyPreviousVersionAndCountsTheReset)
{
    CMemoryStore empty;
    ResetAllSettings(empty);
    EXPECT_EQ((std::vector<std::string>{"Version/Previous Version=100", "Counters/Resets=1"}),
              Describe(empty.m_writes));

    CMemoryStore store;
    store.Write(Setting::People, 80);
    store.Write(Setting::PreviousVersion, 42);
    store.Write(Setting::Resets, 3);
    store.Write(Setting::SuppressFirst, 1);
    ResetAllSettings(store);
    EXPECT_EQ(1, store.m_wipeCount);
    EXPECT_EQ(2, store.ValueCount());
    EXPECT_EQ(42, store.Read(Setting::PreviousVersion));
    EXPECT_EQ(4, store.Read(Setting::Resets));

    store.Write(Setting::Resets, INT32_MAX);
    ResetAllSettings(store);
    EXPECT_EQ(INT32_MAX, store.Read(Setting::Resets)) << "the count stops instead of overflowing";
}

TEST(SaverPath, FollowsTheDirectoryWithTheSaverFileWhateverItsLength)
{
    EXPECT_EQ(L"C:\\WINDOWS\\system32\\ASCENDA.SCR", SaverPathIn(L"C:\\WINDOWS\\system32"));
    const std::wstring longDirectory = L"C:\\" + std::wstring(1000, L'd');
    const std::wstring path = SaverPathIn(longDirectory);
    EXPECT_EQ(longDirectory.size() + 12, path.size());
    EXPECT_EQ(0u, path.find(longDirectory));
    EXPECT_EQ(L"\\ASCENDA.SCR", path.substr(longDirectory.size()));
}

#include "SettingsTable.h"

namespace {
constexpr int32_t ANY_MIN = INT32_MIN;
constexpr int32_t ANY_MAX = INT32_MAX;
} // namespace

namespace Setting {
const SettingKey People{"Config", "People", 50, 10, 100};
const SettingKey Capacity{"Config", "Capacity", 5, 1, 10};
const SettingKey Cars{"Config", "Cars", 2, 1, 10};
const SettingKey Driver{"Config", "Driver", 0, 0, 3};
const SettingKey Network{"Config", "Network", 0, 0, 0}; // reserved; always written as 0
const SettingKey Scale{"Config", "Scale", 25, 20, 50};
const SettingKey ColorRed{"Config", "ColorRed", 0, 0, 255};
const SettingKey ColorGreen{"Config", "ColorGreen", 0, 0, 255};
const SettingKey ColorBlue{"Config", "ColorBlue", 128, 0, 255};
const SettingKey Legend{"Config", "Legend", 1, 0, 1};
const SettingKey Colours{"Config", "Colours", 1, 0, 1};
const SettingKey UpdSpd{"Config", "UpdSpd", 80, 1, 100};
const SettingKey AllMonitors{"Config", "AllMonitors", 0, 0, 1}; // full screen: the building on every monitor

const SettingKey BaseScale{"Custom", "BaseScale", 20, 20, 50};
const SettingKey NoFloors{"Custom", "NoFloors", 10, 4, 25};
const SettingKey LiftPause{"Custom", "LiftPause", 15, 1, 30};
const SettingKey PassPause{"Custom", "PassPause", 50, 10, 300};
const SettingKey PassIntvl{"Custom", "PassIntvl", 500, 100, 2000};
const SettingKey Temper{"Custom", "Temper", 10, 1, 50};

const SettingKey CurrentVersion{"Version", "Current Version", 0, ANY_MIN, ANY_MAX};
const SettingKey PreviousVersion{"Version", "Previous Version", 100, ANY_MIN, ANY_MAX};
const SettingKey CurrentUpdate{"Version", "Current Update", 0, ANY_MIN, ANY_MAX}; // never read
const SettingKey SuppressFirst{"Version", "Suppress First", 0, 0, 1};
const SettingKey SuppressReminder{"Version", "Suppress Reminder", 0, 0, 1};
const SettingKey Date{"Version", "Date", 14, ANY_MIN, ANY_MAX};

const SettingKey Running{"Settings", "Running", 0, 0, 1}; // never read; always written as 1

const SettingKey Resets{"Counters", "Resets", 0, ANY_MIN, ANY_MAX};

const SettingKey* const All[] = {
    &People,          &Capacity,      &Cars,          &Driver,           &Network,
    &Scale,           &ColorRed,      &ColorGreen,    &ColorBlue,        &Legend,
    &Colours,         &UpdSpd,        &AllMonitors,   &BaseScale,        &NoFloors,
    &LiftPause,       &PassPause,     &PassIntvl,     &Temper,           &CurrentVersion,
    &PreviousVersion, &CurrentUpdate, &SuppressFirst, &SuppressReminder, &Date,
    &Running,         &Resets,
};
const int32_t AllCount = static_cast<int32_t>(sizeof(All) / sizeof(All[0]));
} // namespace Setting

int32_t LimitToRange(const SettingKey& key, int32_t value)
{
    if (value < key.minimum) {
        return key.minimum;
    }
    if (value > key.maximum) {
        return key.maximum;
    }
    return value;
}

#pragma once
#include <cstdint>

// One stored setting: where it lives, what every reader passes as its default, and the range the
// dialogs can produce. Keys without a range (bookkeeping values) carry the whole int32 range.
struct SettingKey {
    const char* section;
    const char* name;
    int32_t defaultValue;
    int32_t minimum;
    int32_t maximum;
};

// Every section and key of the store. This is the one place a key name or a default is typed;
// readers and writers refer to these entries.
namespace Setting {
// Config: the main dialog's values and the Properties dialog's screen options.
extern const SettingKey People;
extern const SettingKey Capacity;
extern const SettingKey Cars;
extern const SettingKey Driver;
extern const SettingKey Network;
extern const SettingKey Scale;
extern const SettingKey ColorRed;
extern const SettingKey ColorGreen;
extern const SettingKey ColorBlue;
extern const SettingKey Legend;
extern const SettingKey Colours;
extern const SettingKey UpdSpd;
extern const SettingKey AllMonitors;
// Custom: the Properties dialog's internal settings.
extern const SettingKey BaseScale;
extern const SettingKey NoFloors;
extern const SettingKey LiftPause;
extern const SettingKey PassPause;
extern const SettingKey PassIntvl;
extern const SettingKey Temper;
// Version: the configure sequence's bookkeeping.
extern const SettingKey CurrentVersion;
extern const SettingKey PreviousVersion;
extern const SettingKey CurrentUpdate;
extern const SettingKey SuppressFirst;
extern const SettingKey SuppressReminder;
extern const SettingKey Date;
// Settings: the install marker.
extern const SettingKey Running;
// Counters: the number of resets.
extern const SettingKey Resets;

// Every entry above, in the order of the declarations, for code that walks them all.
extern const SettingKey* const All[];
extern const int32_t AllCount;
} // namespace Setting

// value limited to key.minimum..key.maximum.
int32_t LimitToRange(const SettingKey& key, int32_t value);

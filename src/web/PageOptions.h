#pragma once
#include <cstddef>
#include <cstdint>

#include "options/DisplayOptions.h"
#include "settings/SettingsTable.h"

// What a running view must do to take a new value of a setting: the setter that applies it.
enum class PageSetter { PEOPLE, CARS, CAPACITY, DRIVER, SCALE, BACK_COLOUR, COLOURS, LEGEND, SPEED, CUSTOM };

// One setting of the page's address and settings panel. Its name is the X11 saver's option
// name without the dashes; its range and default are the settings table's (no key: the
// background colour, which the table keeps as three channels).
struct PageSetting {
    const char* name;
    const SettingKey* key;
    int32_t CDisplayOptions::*field; // null for the background colour
    PageSetter setter;
};

extern const PageSetting PAGE_SETTINGS[];
extern const int32_t PAGE_SETTING_COUNT;

// The entry of that name, or null.
const PageSetting* FindPageSetting(const char* name);

// The scale's value that fits the building to the canvas, the default; a number is kept as given.
constexpr const char* FIT_SCALE = "fit";

// Takes one setting's value as the address or the panel writes it ("4", "smart", "000080",
// "#000080", "fit"). Returns the setting when the value was stored; null when the name is none of the
// page's settings or the value is malformed or out of range, and the options are then unchanged.
const PageSetting* SetPageOption(CDisplayOptions& options, const char* name, const char* value);

// Reads the address's query ("?cars=4&people=100"; the '?' is optional, names and values are
// percent-encoded). Parameters are taken in order, so of a setting given twice the last valid value
// wins. A parameter that is not taken leaves its setting as it was (the default, or an earlier
// valid value), and is listed in `ignored` as "name=value", one a line (empty: none). Returns how
// many were not taken, all of them, though the list may be cut short to fit.
int32_t ParsePageQuery(const char* query, CDisplayOptions& options, char* ignored, size_t ignoredSize);

// The query that gives these options to a new page: "?" and every setting that differs from its
// default, in the table's order; empty when all are at their defaults.
void FormatPageQuery(const CDisplayOptions& options, char* buffer, size_t bufferSize);

// One setting's value as the address carries it ("4", "000080", "fit").
void FormatPageOption(const CDisplayOptions& options, const PageSetting& setting, char* buffer, size_t bufferSize);

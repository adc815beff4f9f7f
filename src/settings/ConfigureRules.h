#pragma once
#include <cstdint>

#include "SettingsStore.h"

// The settings version this program writes; stored versions below it are recorded and replaced.
constexpr int32_t CURRENT_SETTINGS_VERSION = 100;

// The month count of a date: 12 * (years since 1900) + month index (January 0) - 1163. It grows
// by one each calendar month; February 1998 gives 14, January 2004 gives 85.
int32_t MonthCount(int32_t yearsSince1900, int32_t monthIndex);

// Version bookkeeping: a Current Version below 100 (absent reads 0) is recorded as Previous
// Version, then Current Version 100 and Current Update 0 are written, in that order. A version of
// 100 or above leaves the store untouched.
void UpdateVersionRecords(CSettingsStore& store);

// A new month for the reminder: when monthCount is beyond the stored Date, writes Date =
// monthCount and returns true (whether or not the reminder will be shown). A month count at or
// below Date, as after a second start in the same month or with the clock set back, returns false
// and writes nothing.
bool AdvanceReminderDate(CSettingsStore& store, int32_t monthCount);

// Stores the state of a message dialog's check box as key, but only when the user closed the
// dialog with OK: Escape or the close box leaves the key as it was.
void StoreMessageChoice(CSettingsStore& store, const SettingKey& key, bool closedWithOk, int32_t ticked);

// The Properties dialog's six internal settings, in the order they are checked and exchanged.
struct InternalSettings {
    int32_t baseScale;
    int32_t floors;
    int32_t liftPause;
    int32_t personPause;
    int32_t personInterval;
    int32_t impatience;
};

// A number field's text by the rule for whole numbers from outside: a signed decimal that fits 32
// bits, with nothing but blanks (spaces, tabs) around it. False, and value untouched, otherwise.
bool ParseWholeNumber(const char* text, int32_t& value);

// The warning for the first of the six values outside its range (bounds inclusive), in the order
// of the struct; nullptr when all six are in range.
const char* FindInternalSettingsWarning(const InternalSettings& settings);

// The six internal settings' defaults, as Use Defaults puts them into the dialog.
InternalSettings DefaultInternalSettings();

#include "ConfigureRules.h"

#include "numbers/WholeNumber.h"

namespace {
// Months from January 1900 to the month whose count is 0.
constexpr int32_t MONTH_COUNT_OFFSET = 1163;

struct InternalSettingRule {
    const SettingKey* key;
    int32_t InternalSettings::*value;
    const char* warning;
};

// The ranges are the table's; the texts name them as the user reads them.
const InternalSettingRule g_internalRules[] = {
    {&Setting::BaseScale, &InternalSettings::baseScale, "Base Scale should be between 20 and 50"},
    {&Setting::NoFloors, &InternalSettings::floors, "Number of floors should be between 4 and 25"},
    {&Setting::LiftPause, &InternalSettings::liftPause, "Lift pause should be between 1 and 30 secs"},
    {&Setting::PassPause, &InternalSettings::personPause, "Person pause should be between 10 and 300 secs"},
    {&Setting::PassIntvl, &InternalSettings::personInterval, "Person interval should be between 100 and 2000 msecs"},
    {&Setting::Temper, &InternalSettings::impatience, "Impatience level should be between 1 and 50"},
};
} // namespace

int32_t MonthCount(int32_t yearsSince1900, int32_t monthIndex)
{
    return 12 * yearsSince1900 + monthIndex - MONTH_COUNT_OFFSET;
}

void UpdateVersionRecords(CSettingsStore& store)
{
    const int32_t version = store.Read(Setting::CurrentVersion);
    if (version >= CURRENT_SETTINGS_VERSION) {
        return;
    }
    store.Write(Setting::PreviousVersion, version);
    store.Write(Setting::CurrentVersion, CURRENT_SETTINGS_VERSION);
    store.Write(Setting::CurrentUpdate, 0);
}

bool AdvanceReminderDate(CSettingsStore& store, int32_t monthCount)
{
    if (monthCount <= store.Read(Setting::Date)) {
        return false;
    }
    store.Write(Setting::Date, monthCount);
    return true;
}

void StoreMessageChoice(CSettingsStore& store, const SettingKey& key, bool closedWithOk, int32_t ticked)
{
    if (closedWithOk) {
        store.Write(key, ticked);
    }
}

bool ParseWholeNumber(const char* text, int32_t& value)
{
    return ReadWholeNumber(text, DECIMAL_INT32, value);
}

const char* FindInternalSettingsWarning(const InternalSettings& settings)
{
    for (const InternalSettingRule& rule : g_internalRules) {
        const int32_t value = settings.*rule.value;
        if (value < rule.key->minimum || value > rule.key->maximum) {
            return rule.warning;
        }
    }
    return nullptr;
}

InternalSettings DefaultInternalSettings()
{
    InternalSettings settings{};
    for (const InternalSettingRule& rule : g_internalRules) {
        settings.*rule.value = rule.key->defaultValue;
    }
    return settings;
}

#include "ViewSettings.h"

namespace {
int32_t ReadLimited(CSettingsStore& store, const SettingKey& key)
{
    return LimitToRange(key, store.Read(key));
}

int32_t ReadFlag(CSettingsStore& store, const SettingKey& key)
{
    return store.Read(key) != 0 ? 1 : 0;
}

// The dialogs offer 1..100; a view also accepts 0 (a stored negative speed counts as 0).
constexpr int32_t MIN_UPDATE_SPEED = 0;
constexpr int32_t MAX_UPDATE_SPEED = 100;
} // namespace

ViewSettings LoadViewSettings(CSettingsStore& store)
{
    // The order of the reads is the order a view has always read its settings in.
    ViewSettings settings{};
    settings.people = ReadLimited(store, Setting::People);
    settings.capacity = ReadLimited(store, Setting::Capacity);
    settings.driver = ReadLimited(store, Setting::Driver);
    settings.scale = ReadLimited(store, Setting::Scale);
    settings.backColour = ReadBackColour(store);
    settings.legend = ReadFlag(store, Setting::Legend);
    settings.colours = ReadFlag(store, Setting::Colours);
    settings.floors = ReadLimited(store, Setting::NoFloors);
    settings.liftPause = ReadLimited(store, Setting::LiftPause);
    settings.passPause = ReadLimited(store, Setting::PassPause);
    settings.passInterval = ReadLimited(store, Setting::PassIntvl);
    settings.temper = ReadLimited(store, Setting::Temper);
    settings.cars = ReadLimited(store, Setting::Cars);
    settings.updateSpeed = LoadUpdateSpeed(store);
    return settings;
}

int32_t LoadAllMonitors(CSettingsStore& store)
{
    return ReadFlag(store, Setting::AllMonitors);
}

int32_t LoadUpdateSpeed(CSettingsStore& store)
{
    const int32_t speed = store.Read(Setting::UpdSpd);
    if (speed < MIN_UPDATE_SPEED) {
        return MIN_UPDATE_SPEED;
    }
    return speed > MAX_UPDATE_SPEED ? MAX_UPDATE_SPEED : speed;
}

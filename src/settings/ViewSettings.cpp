#include "ViewSettings.h"

namespace {

// Each limited value with the key whose range limits it.
enum class Limit { RANGE, FLAG, SPEED };
struct LimitedField {
    int32_t ViewSettings::*field;
    const SettingKey& key;
    Limit limit;
};
const LimitedField LIMITED_FIELDS[] = {
    {&ViewSettings::people, Setting::People, Limit::RANGE},
    {&ViewSettings::driver, Setting::Driver, Limit::RANGE},
    {&ViewSettings::capacity, Setting::Capacity, Limit::RANGE},
    {&ViewSettings::colours, Setting::Colours, Limit::FLAG},
    {&ViewSettings::legend, Setting::Legend, Limit::FLAG},
    {&ViewSettings::floors, Setting::NoFloors, Limit::RANGE},
    {&ViewSettings::liftPause, Setting::LiftPause, Limit::RANGE},
    {&ViewSettings::passPause, Setting::PassPause, Limit::RANGE},
    {&ViewSettings::passInterval, Setting::PassIntvl, Limit::RANGE},
    {&ViewSettings::temper, Setting::Temper, Limit::RANGE},
    {&ViewSettings::scale, Setting::Scale, Limit::RANGE},
    {&ViewSettings::cars, Setting::Cars, Limit::RANGE},
    {&ViewSettings::updateSpeed, Setting::UpdSpd, Limit::SPEED},
};

// The dialogs offer 1..100; a view also runs at 0, the slowest tick.
constexpr int32_t SLOWEST_VIEW_SPEED = 0;

int32_t LimitValue(const LimitedField& limited, int32_t value)
{
    switch (limited.limit) {
    case Limit::FLAG:
        return value != 0 ? 1 : 0;
    case Limit::SPEED:
        return value < SLOWEST_VIEW_SPEED ? SLOWEST_VIEW_SPEED
                                          : (value > limited.key.maximum ? limited.key.maximum : value);
    case Limit::RANGE:
        break;
    }
    return LimitToRange(limited.key, value);
}

} // namespace

ViewSettings LimitViewSettings(ViewSettings settings)
{
    for (const LimitedField& limited : LIMITED_FIELDS)
        settings.*limited.field = LimitValue(limited, settings.*limited.field);
    return settings;
}

ViewSettings LoadViewSettings(CSettingsStore& store)
{
    // The order of the reads is the order a view has always read its settings in.
    ViewSettings settings{};
    settings.people = store.Read(Setting::People);
    settings.capacity = store.Read(Setting::Capacity);
    settings.driver = store.Read(Setting::Driver);
    settings.scale = store.Read(Setting::Scale);
    settings.backColour = ReadBackColour(store);
    settings.legend = store.Read(Setting::Legend);
    settings.colours = store.Read(Setting::Colours);
    settings.floors = store.Read(Setting::NoFloors);
    settings.liftPause = store.Read(Setting::LiftPause);
    settings.passPause = store.Read(Setting::PassPause);
    settings.passInterval = store.Read(Setting::PassIntvl);
    settings.temper = store.Read(Setting::Temper);
    settings.cars = store.Read(Setting::Cars);
    settings.updateSpeed = store.Read(Setting::UpdSpd);
    return LimitViewSettings(settings);
}

int32_t LoadAllMonitors(CSettingsStore& store)
{
    return store.Read(Setting::AllMonitors) != 0 ? 1 : 0;
}

int32_t LoadUpdateSpeed(CSettingsStore& store)
{
    ViewSettings settings{};
    settings.updateSpeed = store.Read(Setting::UpdSpd);
    return LimitViewSettings(settings).updateSpeed;
}

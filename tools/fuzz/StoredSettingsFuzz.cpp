// The settings store, which any program can write: any 32-bit value in every key, as the store
// hands it over, into a view's construction and a few hundred lift and people ticks, with the
// model's promises checked after every tick, and through the configure sequence's bookkeeping
// and Reset All.
#include <cstdint>
#include <cstring>
#include <string>

#include "../../tests/sim/ModelInvariants.h"
#include "FuzzCheck.h"
#include "options/SimulationOptions.h"
#include "settings/ConfigureRules.h"
#include "settings/Install.h"
#include "settings/MemoryStore.h"
#include "view/NullSurface.h"
#include "view/Scene.h"

namespace {

constexpr int32_t LIFT_TICKS = 300;

// Draws nothing, but asks for every shape, so that the mapping to the device is worked out.
class CShapeSurface : public CNullSurface {
public:
    bool ShowsShapes() const override { return true; }
};

// The runner's and the X11 saver's options filled straight from the stored values, as a caller
// that skipped the command line's range checks would fill them.
CSimulationOptions OptionsAsStored(CSettingsStore& store)
{
    CSimulationOptions options;
    options.m_people = store.Read(Setting::People);
    options.m_cars = store.Read(Setting::Cars);
    options.m_capacity = store.Read(Setting::Capacity);
    options.m_driver = store.Read(Setting::Driver);
    options.m_floors = store.Read(Setting::NoFloors);
    options.m_liftPause = store.Read(Setting::LiftPause);
    options.m_passPause = store.Read(Setting::PassPause);
    options.m_passInterval = store.Read(Setting::PassIntvl);
    options.m_temper = store.Read(Setting::Temper);
    options.m_speed = store.Read(Setting::UpdSpd);
    return options;
}

const struct {
    int32_t width, height;
} CLIENT_SIZES[] = {{1024, 768}, {0, 0}, {1920, 1080}, {32767, 32767}}; // the last: the largest X11 window

} // namespace

// Byte 0: bit 0 takes the settings through MakeViewSettings instead of a view's load, bits 1-2
// the client size, bits 3-5 how many lift ticks pass per people tick. Then four bytes
// (little-endian) for each key of the table in turn; a key left without four is not stored.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    CMemoryStore store;
    for (int32_t index = 0; index < Setting::AllCount && 5 + 4 * static_cast<size_t>(index) <= size; ++index) {
        const uint8_t* bytes = data + 1 + 4 * index;
        const uint32_t value = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
        store.Write(*Setting::All[index], static_cast<int32_t>(value));
    }
    RestartModel();
    RestartScene();
    // The configure sequence's bookkeeping only ever moves its counts forward.
    UpdateVersionRecords(store);
    FUZZ_CHECK(store.Read(Setting::CurrentVersion) >= CURRENT_SETTINGS_VERSION);
    const int32_t date = store.Read(Setting::Date);
    AdvanceReminderDate(store, MonthCount(126, 11));
    FUZZ_CHECK(store.Read(Setting::Date) >= date);

    const ViewSettings settings = data[0] & 1 ? MakeViewSettings(OptionsAsStored(store)) : LoadViewSettings(store);
    FUZZ_CHECK(FindSettingOutOfRange(settings) == nullptr);
    const int32_t liftPeriod = LiftPeriodFromSpeed(LoadUpdateSpeed(store));
    FUZZ_CHECK(liftPeriod >= 1 && liftPeriod <= 501);

    CScene scene(settings);
    CShapeSurface surface;
    const auto& client = CLIENT_SIZES[(data[0] >> 1) & 3];
    CScene::SetScreenFactorFromSize(client.width, client.height);
    scene.Paint(surface, client.width, client.height);
    const int32_t liftTicksPerPeopleTick = 1 + ((data[0] >> 3) & 7);
    for (int32_t tick = 1; tick <= LIFT_TICKS; ++tick) {
        scene.RunLiftPass(surface);
        if (tick % liftTicksPerPeopleTick == 0)
            scene.RunPeoplePass(surface);
        if (tick % 10 == 0)
            scene.RunLegendPass(surface);
        const std::string broken = BrokenInvariant(scene.m_floors, scene.m_capacity);
        if (!broken.empty())
            FailFuzzCheck((broken + " after lift tick " + std::to_string(tick)).c_str(), __FILE__, __LINE__);
    }
    const int32_t resets = store.Read(Setting::Resets);
    ResetAllSettings(store);
    FUZZ_CHECK(store.Read(Setting::Resets) >= resets && store.ValueCount() == 2);
    return 0;
}

#include "Install.h"

#include <climits>

#ifdef _WIN32
#include <windows.h>
#endif

MainSettings LoadMainSettings(CSettingsStore& store)
{
    MainSettings settings{};
    settings.people = store.Read(Setting::People);
    settings.capacity = store.Read(Setting::Capacity);
    settings.driver = store.Read(Setting::Driver);
    settings.network = store.Read(Setting::Network);
    settings.lifts = store.Read(Setting::Cars);
    settings.scale = store.Read(Setting::Scale);
    settings.colour = ReadBackColour(store);
    return settings;
}

void SaveMainSettings(CSettingsStore& store, const MainSettings& settings)
{
    WriteBackColour(store, settings.colour);
    store.Write(Setting::People, settings.people);
    store.Write(Setting::Scale, settings.scale);
    store.Write(Setting::Capacity, settings.capacity);
    store.Write(Setting::Driver, settings.driver);
    store.Write(Setting::Network, 0);
    store.Write(Setting::Cars, settings.lifts);
}

void ResetAllSettings(CSettingsStore& store)
{
    const int32_t previousVersion = store.Read(Setting::PreviousVersion);
    const int32_t resets = store.Read(Setting::Resets);
    store.Wipe();
    store.Write(Setting::PreviousVersion, previousVersion);
    // A count that has reached the top stays there rather than overflowing.
    store.Write(Setting::Resets, resets == INT32_MAX ? resets : resets + 1);
}

std::string SaverPathIn(const std::string& directory)
{
    return directory + "\\ASCENDA.SCR";
}

#ifdef _WIN32
std::string GetSystemDirectoryPath()
{
    // Asking with no buffer gives the size needed, terminating zero included. The directory can't
    // change between the two calls, but a result that still doesn't fit is taken as no directory
    // rather than as a cut path.
    const UINT size = GetSystemDirectoryA(nullptr, 0);
    if (size == 0) {
        return std::string();
    }
    std::string directory(size, '\0');
    const UINT length = GetSystemDirectoryA(&directory[0], size);
    if (length == 0 || length >= size) {
        return std::string();
    }
    directory.resize(length);
    return directory;
}

namespace {
void SetStringValue(HKEY key, const char* name, const std::string& value)
{
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}
} // namespace

void RegisterDesktopSaver(const std::string& path)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    SetStringValue(key, "SCRNSAVE.EXE", path);
    SetStringValue(key, "ScreenSaveActive", "1");
    RegCloseKey(key);
}
#endif

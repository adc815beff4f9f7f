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

std::wstring SaverPathIn(const std::wstring& directory)
{
    return directory + L"\\ASCENDA.SCR";
}

#ifdef _WIN32
std::wstring GetSystemDirectoryPath()
{
    // Asking with no buffer gives the size needed, terminating zero included. The directory can't
    // change between the two calls, but a result that still doesn't fit is taken as no directory
    // rather than as a cut path.
    const UINT size = GetSystemDirectoryW(nullptr, 0);
    if (size == 0) {
        return std::wstring();
    }
    std::wstring directory(size, L'\0');
    const UINT length = GetSystemDirectoryW(&directory[0], size);
    if (length == 0 || length >= size) {
        return std::wstring();
    }
    directory.resize(length);
    return directory;
}

std::wstring GetModulePath()
{
    // The call can't say how much room it needs: it fills the buffer and cuts the path, returning
    // the buffer's size. Grow until the path and its zero fit; the system's longest path is 32767
    // characters, so a path cut at twice that is an error, not a path.
    for (DWORD size = MAX_PATH + 1; size <= 65536; size *= 2) {
        std::wstring path(size, L'\0');
        const DWORD length = GetModuleFileNameW(nullptr, &path[0], size);
        if (length == 0) {
            return std::wstring();
        }
        if (length < size) {
            path.resize(length);
            return path;
        }
    }
    return std::wstring();
}

std::wstring ChooseRegisteredSaverPath(const std::wstring& modulePath, const std::wstring& systemDirectory)
{
    const std::wstring systemCopy = SaverPathIn(systemDirectory);
    if (modulePath.empty()) {
        return systemCopy;
    }
    // File names compare without regard to case, as the file system does.
    if (CompareStringOrdinal(modulePath.c_str(), static_cast<int>(modulePath.size()), systemCopy.c_str(),
                             static_cast<int>(systemCopy.size()), TRUE) == CSTR_EQUAL) {
        return systemCopy;
    }
    return modulePath;
}

namespace {
void SetStringValue(HKEY key, const wchar_t* name, const std::wstring& value)
{
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}
} // namespace

void RegisterDesktopSaver(const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    SetStringValue(key, L"SCRNSAVE.EXE", path);
    SetStringValue(key, L"ScreenSaveActive", L"1");
    RegCloseKey(key);
}
#endif

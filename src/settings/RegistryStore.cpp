#include "RegistryStore.h"

#include <windows.h>
// shlwapi.h needs the types windows.h declares.
#include <shlwapi.h>

#include <cstdio>

namespace {
// Opens HKEY_CURRENT_USER\<applicationPath>\<section>; returns null when it does not exist.
HKEY OpenSection(const char* applicationPath, const char* section, REGSAM access)
{
    HKEY application = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, applicationPath, 0, access, &application) != ERROR_SUCCESS) {
        return nullptr;
    }
    HKEY sectionKey = nullptr;
    if (RegOpenKeyExA(application, section, 0, access, &sectionKey) != ERROR_SUCCESS) {
        sectionKey = nullptr;
    }
    RegCloseKey(application);
    return sectionKey;
}

// Creates HKEY_CURRENT_USER\<applicationPath>\<section> and everything above it as needed.
HKEY CreateSection(const char* applicationPath, const char* section)
{
    HKEY application = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, applicationPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                        &application, nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    HKEY sectionKey = nullptr;
    if (RegCreateKeyExA(application, section, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &sectionKey,
                        nullptr) != ERROR_SUCCESS) {
        sectionKey = nullptr;
    }
    RegCloseKey(application);
    return sectionKey;
}
} // namespace

CRegistryStore::CRegistryStore(const char* companyKey, const char* applicationName)
{
    snprintf(m_applicationPath, sizeof(m_applicationPath), "Software\\%s\\%s", companyKey, applicationName);
}

int32_t CRegistryStore::Read(const char* section, const char* key, int32_t defaultValue)
{
    HKEY sectionKey = OpenSection(m_applicationPath, section, KEY_READ);
    if (sectionKey == nullptr) {
        return defaultValue;
    }
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof(data);
    const LONG result = RegQueryValueExA(sectionKey, key, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    RegCloseKey(sectionKey);
    // Anything but a four-byte REG_DWORD (a string, a QWORD, a value too big for the buffer) is not
    // ours to interpret.
    if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(data)) {
        return defaultValue;
    }
    return static_cast<int32_t>(data);
}

void CRegistryStore::Write(const char* section, const char* key, int32_t value)
{
    HKEY sectionKey = CreateSection(m_applicationPath, section);
    if (sectionKey == nullptr) {
        return;
    }
    const DWORD data = static_cast<DWORD>(value);
    RegSetValueExA(sectionKey, key, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
    RegCloseKey(sectionKey);
}

void CRegistryStore::Wipe()
{
    SHDeleteKeyA(HKEY_CURRENT_USER, m_applicationPath);
}

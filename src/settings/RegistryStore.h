#pragma once
#ifdef _WIN32
#include <cstdint>

#include "SettingsStore.h"

// The per-user registry: HKEY_CURRENT_USER\Software\<company>\<application>, one subkey per
// section, one REG_DWORD value per key. A missing value, section or application key, or a value
// of another type or size, reads as the default.
class CRegistryStore : public CSettingsStore {
public:
    CRegistryStore(const char* companyKey, const char* applicationName);

    using CSettingsStore::Read;
    using CSettingsStore::Write;

    int32_t Read(const char* section, const char* key, int32_t defaultValue) override;
    void Write(const char* section, const char* key, int32_t value) override;
    void Wipe() override;

    // "Software\<company>\<application>", relative to HKEY_CURRENT_USER.
    const char* GetApplicationPath() const { return m_applicationPath; }

private:
    // Long enough for any company and application name the program uses; longer names are cut.
    char m_applicationPath[260];
};
#endif

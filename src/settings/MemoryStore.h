#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "SettingsStore.h"

// A settings store held in memory, for tests and tools. It also logs every access so that
// tests can check the order in which a caller reads and writes.
class CMemoryStore : public CSettingsStore {
public:
    struct Access {
        std::string section;
        std::string key;
        int32_t value; // the value written, or the value a read returned
    };

    using CSettingsStore::Read;
    using CSettingsStore::Write;

    int32_t Read(const char* section, const char* key, int32_t defaultValue) override;
    void Write(const char* section, const char* key, int32_t value) override;
    void Wipe() override;

    bool Contains(const char* section, const char* key) const;
    bool Contains(const SettingKey& key) const { return Contains(key.section, key.name); }
    int32_t ValueCount() const { return static_cast<int32_t>(m_values.size()); }
    void ClearLogs();

    std::vector<Access> m_reads;
    std::vector<Access> m_writes;
    int32_t m_wipeCount = 0;

private:
    std::map<std::pair<std::string, std::string>, int32_t> m_values;
};

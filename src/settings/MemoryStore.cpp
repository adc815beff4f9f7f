#include "MemoryStore.h"

int32_t CMemoryStore::Read(const char* section, const char* key, int32_t defaultValue)
{
    const auto found = m_values.find({section, key});
    const int32_t value = found == m_values.end() ? defaultValue : found->second;
    m_reads.push_back({section, key, value});
    return value;
}

void CMemoryStore::Write(const char* section, const char* key, int32_t value)
{
    m_values[{section, key}] = value;
    m_writes.push_back({section, key, value});
}

void CMemoryStore::Wipe()
{
    m_values.clear();
    ++m_wipeCount;
}

bool CMemoryStore::Contains(const char* section, const char* key) const
{
    return m_values.count({section, key}) != 0;
}

void CMemoryStore::ClearLogs()
{
    m_reads.clear();
    m_writes.clear();
    m_wipeCount = 0;
}

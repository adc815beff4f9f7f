#pragma once
#include <cstdint>

#include "SettingsTable.h"
#include "sim/Colour.h"

// The per-user settings store: 32-bit integers under a section and a key name.
// A missing value reads as the default the caller passes; a read never stores anything.
//
// Derived classes override the three-argument Read and Write; add `using CSettingsStore::Read;`
// and `using CSettingsStore::Write;` to keep the table-entry forms visible through the derived type.
class CSettingsStore {
public:
    virtual ~CSettingsStore() = default;

    virtual int32_t Read(const char* section, const char* key, int32_t defaultValue) = 0;
    // Creates the section as needed and replaces any earlier value.
    virtual void Write(const char* section, const char* key, int32_t value) = 0;
    // Deletes the whole application key with everything below it.
    virtual void Wipe() = 0;

    int32_t Read(const SettingKey& key) { return Read(key.section, key.name, key.defaultValue); }
    void Write(const SettingKey& key, int32_t value) { Write(key.section, key.name, value); }
};

// The background colour from ColorBlue, ColorGreen, ColorRed (read in that order), the low byte
// of each stored value.
Colour ReadBackColour(CSettingsStore& store);

// The background colour of an empty store: the three colour keys' defaults.
Colour GetDefaultBackColour();
// Writes ColorRed, ColorGreen, ColorBlue (in that order), each 0..255.
void WriteBackColour(CSettingsStore& store, Colour colour);

#pragma once
#include <cstdint>
#include <string>

#include "SettingsStore.h"
#include "sim/Colour.h"

// The main settings dialog's values, as the configure sequence loads them and OK and Apply & Test
// save them.
struct MainSettings {
    int32_t people;
    int32_t capacity;
    int32_t lifts;
    int32_t driver;
    int32_t network;
    int32_t scale;
    Colour colour;
};

// Reads People, Capacity, Driver, Network, Cars, Scale and the colour, in that order, as stored:
// the dialog shows and writes back what it finds, so nothing is limited here.
MainSettings LoadMainSettings(CSettingsStore& store);

// Writes ColorRed, ColorGreen, ColorBlue, People, Scale, Capacity, Driver, Network and Cars, in
// that order. Network is always written as 0: no behaviour depends on it.
void SaveMainSettings(CSettingsStore& store, const MainSettings& settings);

// Wipes the whole store but carries two values across: Previous Version (100 when absent) and
// the number of resets, one more than before.
void ResetAllSettings(CSettingsStore& store);

// The full path at which the desktop expects the saver: directory, a backslash, "ASCENDA.SCR".
std::string SaverPathIn(const std::string& directory);

#ifdef _WIN32
// The system directory, however long it is.
std::string GetSystemDirectoryPath();

// Makes the saver at path the current user's desktop screen saver and switches screen saving on:
// "SCRNSAVE.EXE" and "ScreenSaveActive" under HKEY_CURRENT_USER\Control Panel\Desktop, both REG_SZ
// with their terminating zero counted.
void RegisterDesktopSaver(const std::string& path);
#endif

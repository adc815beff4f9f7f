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

// The full path of the saver file in a directory: the directory, a backslash, "ASCENDA.SCR".
std::wstring SaverPathIn(const std::wstring& directory);

#ifdef _WIN32
// The system directory, however long it is; empty if it can't be read.
std::wstring GetSystemDirectoryPath();

// The full path of the running program's own file, however long it is; empty if it can't be read.
std::wstring GetModulePath();

// The file that Apply & Test makes the desktop's screen saver: the running program itself, since
// a saver run from where it was downloaded must not register a system directory copy that doesn't
// exist. The system directory's own ASCENDA.SCR, or a program whose path can't be read, registers
// exactly "<system directory>\ASCENDA.SCR".
std::wstring ChooseRegisteredSaverPath(const std::wstring& modulePath, const std::wstring& systemDirectory);

// Makes the saver at path the current user's desktop screen saver and switches screen saving on:
// "SCRNSAVE.EXE" and "ScreenSaveActive" under HKEY_CURRENT_USER\Control Panel\Desktop, both REG_SZ
// with their terminating zero counted. Wide strings, so that any user or folder name survives.
void RegisterDesktopSaver(const std::wstring& path);
#endif

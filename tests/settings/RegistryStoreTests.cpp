#include <gtest/gtest.h>

#include <windows.h>
// shlwapi.h needs the types windows.h declares.
#include <shlwapi.h>

#include <string>

#include "settings/RegistryStore.h"
#include "settings/ViewSettings.h"

namespace {

// A company key of its own, so the tests never touch the program's real settings.
constexpr const char* TEST_COMPANY = "Ascenda Test Bits";
constexpr const char* TEST_APPLICATION = "Ascenda";
constexpr const char* TEST_APPLICATION_PATH = "Software\\Ascenda Test Bits\\Ascenda";

bool KeyExists(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

void SetRawValue(const char* section, const char* name, DWORD type, const void* data, DWORD size)
{
    const std::string path = std::string(TEST_APPLICATION_PATH) + "\\" + section;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
}

bool ReadRawDword(const char* section, const char* name, DWORD& value)
{
    const std::string path = std::string(TEST_APPLICATION_PATH) + "\\" + section;
    DWORD type = 0;
    DWORD size = sizeof(value);
    const LONG result = RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_ANY, &type, &value, &size);
    return result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(value);
}

class RegistryStore : public ::testing::Test {
protected:
    void SetUp() override { SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Ascenda Test Bits"); }
    void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Ascenda Test Bits"); }
    CRegistryStore m_store{TEST_COMPANY, TEST_APPLICATION};
};

TEST_F(RegistryStore, WrittenValuesReadBackAsSigned32BitDwordsUnderSoftwareCompanyApplicationSection)
{
    EXPECT_STREQ(CRegistryStore("Orvane's Registry Bits", "Ascenda").GetApplicationPath(),
                 "Software\\Orvane's Registry Bits\\Ascenda");
    m_store.Write(Setting::People, 42);
    m_store.Write(Setting::NoFloors, 7);
    m_store.Write(Setting::Resets, -5);
    DWORD raw = 0;
    ASSERT_TRUE(ReadRawDword("Config", "People", raw));
    EXPECT_EQ(raw, 42u);
    ASSERT_TRUE(ReadRawDword("Custom", "NoFloors", raw));
    EXPECT_EQ(raw, 7u);
    ASSERT_TRUE(ReadRawDword("Counters", "Resets", raw));
    EXPECT_EQ(raw, 0xFFFFFFFBu);
    EXPECT_EQ(m_store.Read(Setting::Resets), -5);
    for (int32_t value : {45, INT32_MIN, INT32_MAX}) {
        m_store.Write(Setting::Scale, value);
        EXPECT_EQ(m_store.Read(Setting::Scale), value);
    }
}

TEST_F(RegistryStore, MissingApplicationSectionOrValueReadsTheDefaultAndCreatesNothing)
{
    EXPECT_EQ(m_store.Read(Setting::People), 50);
    EXPECT_EQ(m_store.Read("Config", "People", 77), 77);
    EXPECT_FALSE(KeyExists(TEST_APPLICATION_PATH)) << "a read must not create the application key";

    m_store.Write(Setting::Capacity, 3);
    EXPECT_EQ(m_store.Read(Setting::People), 50) << "value missing in an existing section";
    EXPECT_EQ(m_store.Read(Setting::NoFloors), 10) << "section missing under an existing application key";
    EXPECT_FALSE(KeyExists(std::string(TEST_APPLICATION_PATH) + "\\Custom"));
}

TEST_F(RegistryStore, KeyNamesWithBlanksAreStoredAsSpelled)
{
    m_store.Write(Setting::CurrentVersion, 100);
    m_store.Write(Setting::PreviousVersion, -5);
    m_store.Write(Setting::SuppressReminder, 1);
    DWORD raw = 0;
    ASSERT_TRUE(ReadRawDword("Version", "Current Version", raw));
    EXPECT_EQ(raw, 100u);
    ASSERT_TRUE(ReadRawDword("Version", "Suppress Reminder", raw));
    EXPECT_EQ(raw, 1u);
    EXPECT_EQ(m_store.Read(Setting::PreviousVersion), -5);
    EXPECT_EQ(m_store.Read("Version", "CurrentVersion", -1), -1) << "the name without its blank is another key";
}

TEST_F(RegistryStore, ValuesOfAnotherTypeOrSizeReadAsTheDefault)
{
    const unsigned long long wide = 42;
    const WORD narrow = 7;
    const BYTE longValue[8] = {9};
    const DWORD binary = 9;
    SetRawValue("Config", "People", REG_SZ, "42", 3);
    SetRawValue("Config", "Capacity", REG_QWORD, &wide, sizeof wide);
    SetRawValue("Config", "Cars", REG_DWORD, &narrow, sizeof narrow);
    SetRawValue("Config", "Scale", REG_DWORD, longValue, sizeof longValue);
    SetRawValue("Config", "Driver", REG_BINARY, &binary, sizeof binary);
    EXPECT_EQ(m_store.Read(Setting::People), 50);
    EXPECT_EQ(m_store.Read(Setting::Capacity), 5);
    EXPECT_EQ(m_store.Read(Setting::Cars), 2);
    EXPECT_EQ(m_store.Read(Setting::Scale), 25);
    EXPECT_EQ(m_store.Read(Setting::Driver), 0);
}

TEST_F(RegistryStore, WipeDeletesTheApplicationKeyWithEverythingBelowIt)
{
    m_store.Write(Setting::People, 20);
    m_store.Write(Setting::CurrentVersion, 100);
    ASSERT_TRUE(KeyExists(TEST_APPLICATION_PATH));
    m_store.Wipe();
    EXPECT_FALSE(KeyExists(TEST_APPLICATION_PATH));
    EXPECT_TRUE(KeyExists("Software\\Ascenda Test Bits")) << "only the application key goes";
    EXPECT_EQ(m_store.Read(Setting::People), 50);
    EXPECT_EQ(m_store.Read(Setting::CurrentVersion), 0);

    m_store.Write(Setting::Resets, 1);
    EXPECT_EQ(m_store.Read(Setting::Resets), 1) << "the store works again after a wipe";
    m_store.Wipe();
    m_store.Wipe(); // wiping an absent key is harmless
}

TEST_F(RegistryStore, ViewSettingsLoadThroughTheRegistry)
{
    m_store.Write(Setting::People, 500);
    WriteBackColour(m_store, MakeColour(10, 20, 30));
    m_store.Write(Setting::ColorRed, 300);
    const ViewSettings settings = LoadViewSettings(m_store);
    EXPECT_EQ(settings.people, 100);
    EXPECT_EQ(settings.backColour, MakeColour(44, 20, 30));
    EXPECT_EQ(settings.floors, 10);
}

} // namespace

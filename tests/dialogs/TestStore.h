#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "settings/SettingsTable.h"

// Tests of the dialogs run against the real registry, under a company key of their own process
// (test processes run side by side), emptied before and removed after every test.
class CDialogTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Stores a value the way the program does.
void Store(const SettingKey& key, int32_t value);
// The stored value, read straight from the registry; false when there is none.
bool ReadStored(const SettingKey& key, int32_t& value);
// The stored value, or absent when there is none.
int32_t StoredOr(const SettingKey& key, int32_t absent);
bool IsStored(const SettingKey& key);
// "Section/Key=value" for every value under the application key, sorted.
std::vector<std::string> ListStored();
// The month count of today's date.
int32_t TodayMonthCount();

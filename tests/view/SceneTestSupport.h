#pragma once
#include <gtest/gtest.h>

#include "settings/MemoryStore.h"
#include "settings/ViewSettings.h"
#include "sim/Building.h"
#include "view/Scene.h"

// The settings a view loads from an empty store.
inline ViewSettings DefaultViewSettings()
{
    CMemoryStore store;
    return LoadViewSettings(store);
}

// Every test starts from a fresh process: model records and scene variables at their start values.
class SceneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RestartModel();
        RestartScene();
    }
    void TearDown() override
    {
        RestartModel();
        RestartScene();
    }
    // Mapping equal to the identity: device units are world units.
    static void UseIdentityMapping()
    {
        g_scale = 25;
        g_screenFactor = 25;
        g_originX = 0;
        g_originY = 0;
    }
};

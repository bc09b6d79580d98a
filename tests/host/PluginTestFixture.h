// A fake host with the standard services, message boxes recorded, and the plug-in's process-wide
// state put back as a fresh load finds it.
#pragma once

#include "host/DataBaseConnectionBase.h"
#include "host/PluginInfo.h"
#include "host/PluginState.h"
#include "support/FakeHost.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

class PluginTest : public testing::Test {
protected:
    PluginTest() { Reset(); }
    ~PluginTest() override {
        Unload();
        Reset();
    }
    static void Reset() {
        hostTable = nullptr;
        profileSection.clear();
        DataBaseConnectionBase::DeleteInstance();
    }
    void LoadAndFire() {
        Load(host.Table());
        host.Fire("System/ModulesLoaded");
    }

    FakeHost host;
    MessageBoxRecorder boxes;
};

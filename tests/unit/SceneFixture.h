// A core whose pools, scene root, default camera and alpha collectors exist, with a device that
// wraps a recording FakeDevice: what scene-graph tests need without a window, dialog or GPU.
#pragma once
#include "FakeDevice.h"
#include "engine/core/HvCore.h"
#include "engine/render/HvDevice.h"
#include <gtest/gtest.h>
#include <string>

class TestCore : public HvCore {
public:
  TestCore() : HvCore("Orvanta") {}
  using HvCore::SetDevice;
};

class SceneTest : public ::testing::Test {
protected:
  SceneTest();
  ~SceneTest() override;

  // The message-box log lines written while f runs.
  template <class F> std::string MessagesOf(F f) {
    testing::internal::CaptureStderr();
    f();
    return testing::internal::GetCapturedStderr();
  }

  FakeDevice fake;
  TestCore* core = nullptr;
  HvDevice* device = nullptr;
  HvNode* root = nullptr;
};

// A real Direct3D device for the tests that load or create device resources: the core singleton
// ("Orvanta", all eleven pools) with a windowed 1024x768 device, made once per test process.
// Message boxes are turned into stderr lines, so that a test can read them with CaptureStderr.
#pragma once
#include "engine/core/HvCore.h"
#include <string>

// The core, made the current singleton again on every call. Null when no device could be made.
HvCore* RealDeviceCore();

// A folder of its own under the temporary folder for files a test writes; ends with a backslash.
std::string TestFolder();

// Runs `action` with stderr captured and returns what it printed.
template <class F> std::string CaptureStderrOf(F action);

#include <gtest/gtest.h>
template <class F> std::string CaptureStderrOf(F action) {
  testing::internal::CaptureStderr();
  action();
  return testing::internal::GetCapturedStderr();
}

#define REQUIRE_REAL_DEVICE() \
  if (!RealDeviceCore()) GTEST_SKIP() << "no Direct3D device"

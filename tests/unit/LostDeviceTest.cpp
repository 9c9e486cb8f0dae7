// A lost device ends the show: the application destroys its window once. The window procedure
// destroys the window again when WM_DESTROY arrives while the core still holds the handle, so the
// core must let go of it first.
#include <gtest/gtest.h>
#include "RealDevice.h"
#include "app/CCore.h"

namespace {
HWND watched = nullptr;
int destroyCalls = 0;

// A CBT hook sees every DestroyWindow call on the thread, re-entrant ones included.
LRESULT CALLBACK CountDestroyCalls(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_DESTROYWND && HWND(wParam) == watched) ++destroyCalls;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class LostDeviceCore : public CCore {
public:
  void TakeWindow(HWND w) { window = w; }
};

class LostDeviceTest : public ::testing::Test {
protected:
  void SetUp() override {
    previous = HvCore::GetInstance();
    core = new LostDeviceCore;
    core->AddRef();
    HvAutomation options;
    options.loseDeviceAt = 0;  // the device counts as lost from the start
    core->SetAutomation(options);
  }
  void TearDown() override {
    if (watched && IsWindow(watched)) DestroyWindow(watched);
    watched = nullptr;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}  // the quit the loss posted
    HvCore::SetInstance(previous);
    core->DropRef();
  }
  LostDeviceCore* core = nullptr;
  HvCore* previous = nullptr;
};
}

TEST_F(LostDeviceTest, EndsTheShowAndDestroysTheWindowOnce) {
  REQUIRE_REAL_DEVICE();  // its core registered the window class of the program, with the engine's procedure
  HvCore::SetInstance(core);
  watched = CreateWindowExA(0, CCore::kName, CCore::kName, WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(watched);
  core->TakeWindow(watched);
  destroyCalls = 0;
  HHOOK hook = SetWindowsHookExA(WH_CBT, CountDestroyCalls, nullptr, GetCurrentThreadId());
  ASSERT_TRUE(hook);
  const bool goOn = core->CheckDevice();
  UnhookWindowsHookEx(hook);
  EXPECT_FALSE(goOn);
  EXPECT_EQ(1, destroyCalls);
  EXPECT_FALSE(IsWindow(watched));
  EXPECT_EQ(nullptr, core->GetWindow());
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the show's loop is told to end";
}

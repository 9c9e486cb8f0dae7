// Screen grabs: the numbering of the files in a folder, the grab of the back buffer and of the front
// buffer on request, and the failures.
#include "CoreDeviceFixture.h"
#include "engine/ui2d/HvScreenGrab.h"
#include <d3dx9.h>
#include <cstdio>

namespace {
class ScreenGrabTest : public CoreDeviceTest {
protected:
  void SetUp() override {
    CoreDeviceTest::SetUp();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int serial = 0;
    folder = std::string(temp) + "orvanta-grab-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(serial++);
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    GetCurrentDirectoryA(MAX_PATH, startDirectory);
  }
  void TearDown() override {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.bmp").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do DeleteFileA((folder + "\\" + found.cFileName).c_str());
      while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
  }
  std::string Path(const char* base, int number) const {
    char name[32];
    snprintf(name, sizeof name, "%s_%03d.bmp", base, number);
    return folder + "\\" + name;
  }
  void Touch(int number) const {
    HANDLE f = CreateFileA(Path("ScreenShot", number).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, f);
    CloseHandle(f);
  }
  // Width and height of a written picture; 0 x 0 when it is missing or not an image.
  static std::pair<UINT, UINT> PictureSize(const std::string& path) {
    D3DXIMAGE_INFO info = {};
    if (FAILED(D3DXGetImageInfoFromFileA(path.c_str(), &info))) return {0, 0};
    return {info.Width, info.Height};
  }
  void ExpectStartDirectory() const {
    char now[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, now);
    EXPECT_STREQ(startDirectory, now);
  }

  std::string folder;
  char startDirectory[MAX_PATH] = {};
};

TEST_F(ScreenGrabTest, TheCoreCreatesItsGrabInTheApplicationPool) {
  HvScreenGrab* grab = core->GetScreenGrab();
  ASSERT_NE(nullptr, grab);
  EXPECT_EQ(0u, grab->GetName().find("ScreenGrab_"));
  EXPECT_EQ(grab, core->GetPool(HvPoolApplication)->FindByName(grab->GetName()));
  EXPECT_EQ("", grab->GetFolder());
}

TEST_F(ScreenGrabTest, TheNextGrabTakesTheNumberAfterTheExistingFiles) {
  Touch(1);
  Touch(2);
  HvRef<HvScreenGrab> grab = new HvScreenGrab("ScreenShot", "");
  ASSERT_TRUE(grab->Grab(HvScreenGrab::BackBuffer, folder));
  EXPECT_EQ((std::pair<UINT, UINT>(1024, 768)), PictureSize(Path("ScreenShot", 3)));
  ExpectStartDirectory();
}

TEST_F(ScreenGrabTest, AGapIsFilledFirst) {
  Touch(2);
  Touch(3);
  HvRef<HvScreenGrab> grab = new HvScreenGrab("ScreenShot", "");
  ASSERT_TRUE(grab->Grab(HvScreenGrab::BackBuffer, folder));
  ASSERT_TRUE(grab->Grab(HvScreenGrab::BackBuffer, folder));
  EXPECT_EQ(1024u, PictureSize(Path("ScreenShot", 1)).first);
  EXPECT_EQ(1024u, PictureSize(Path("ScreenShot", 4)).first);
}

TEST_F(ScreenGrabTest, WithEveryNumberTakenNothingIsWritten) {
  for (int n = 1; n <= 999; ++n) Touch(n);
  HvRef<HvScreenGrab> grab = new HvScreenGrab("ScreenShot", "");
  bool result = true;
  const std::string log = CaptureStderrOf([&] { result = grab->Grab(HvScreenGrab::BackBuffer, folder); });
  EXPECT_FALSE(result);
  EXPECT_NE(std::string::npos, log.find("text \"Cannot find free file name\", style 0x30")) << log;
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder + "\\ScreenShot_1000.bmp").c_str()));
  EXPECT_EQ(0u, PictureSize(Path("ScreenShot", 999)).first);  // the empty file stays as it was
  ExpectStartDirectory();
}

TEST_F(ScreenGrabTest, ARequestSavesTheFrontBufferOnceAtTheNextUpdate) {
  HvRef<HvScreenGrab> grab = new HvScreenGrab("Front", folder.c_str());
  ASSERT_TRUE(grab->Update());
  EXPECT_EQ(0u, PictureSize(Path("Front", 1)).first);
  // Wine copies a window's client area to its place on the desktop: it must lie inside the display,
  // so the display-sized test window is moved until its client area starts at the desktop's corner.
  POINT corner = {0, 0};
  RECT outer;
  ClientToScreen(window, &corner);
  GetWindowRect(window, &outer);
  SetWindowPos(window, nullptr, outer.left - corner.x, outer.top - corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  DrawFrame([] {});
  Device()->Present(nullptr, nullptr, nullptr, nullptr);
  grab->RequestGrab();
  ASSERT_TRUE(grab->Update());
  ASSERT_TRUE(grab->Update());
  D3DDISPLAYMODE mode;
  ASSERT_EQ(D3D_OK, Device()->GetDisplayMode(0, &mode));
  EXPECT_EQ((std::pair<UINT, UINT>(mode.Width, mode.Height)), PictureSize(Path("Front", 1)));
  EXPECT_EQ(0u, PictureSize(Path("Front", 2)).first);
  ExpectStartDirectory();
}

TEST_F(ScreenGrabTest, AFailedRequestIsReportedOnceAndDropped) {
  const std::string missing = folder + "\\missing";
  HvRef<HvScreenGrab> grab = new HvScreenGrab("ScreenShot", missing.c_str());
  grab->RequestGrab();
  bool first = false, second = false;
  const std::string log = CaptureStderrOf([&] {
    first = grab->Update();
    second = grab->Update();
  });
  EXPECT_TRUE(first && second);  // the show goes on
  EXPECT_EQ("MessageBox: caption \"Orvanta\", text \"Cannot set directory " + missing + "\", style 0x30\n", log);
  ExpectStartDirectory();
}
}

// The configuration dialogs from the real resources, driven by window messages from a second thread
// while the test thread runs the modal dialog; the automation path; the end-of-run messages.
#include <gtest/gtest.h>
#include "app/CConfig.h"
#include "app/CCore.h"
#include "engine/core/HvDeviceSettings.h"
#include "engine/core/HvMessageBox.h"
#include "engine/render/HvAdapter.h"
#include "engine/ui2d/HvFont.h"
#include "resources/resource.h"
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {
const HvDisplayMode desktop = {1024, 768, D3DFMT_X8R8G8B8};

// Lets a test set what CheckCaps would have found.
class TestConfig : public CConfig {
public:
  TestConfig(bool hardware, int32_t levels) {
    hardwareVertexProcessing = hardware;
    multisampleQualityLevels = levels;
  }
};

// Waits on a second thread for the dialog of the calling thread to show, then runs `actions` on it.
// Everything the actions send is handled by the dialog's own message loop.
class DialogDriver {
public:
  explicit DialogDriver(std::function<void(HWND)> actions) : owner(GetCurrentThreadId()) {
    thread = std::thread([this, actions] {
      HWND dialog = nullptr;
      for (int i = 0; i < 500 && !dialog; ++i) {
        EnumThreadWindows(owner, FindDialog, LPARAM(&dialog));
        if (!dialog) Sleep(20);
      }
      found = dialog != nullptr;
      if (dialog) actions(dialog);
    });
  }
  ~DialogDriver() { thread.join(); }
  bool found = false;

private:
  static BOOL CALLBACK FindDialog(HWND w, LPARAM result) {
    char name[16];
    if (!IsWindowVisible(w) || !GetClassNameA(w, name, sizeof name) || std::string(name) != "#32770") return TRUE;
    *reinterpret_cast<HWND*>(result) = w;
    return FALSE;
  }
  DWORD owner;
  std::thread thread;
};

void Press(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
void Select(HWND dialog, int id, int entry) { SendDlgItemMessageA(dialog, id, CB_SETCURSEL, WPARAM(entry), 0); }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != 0; }

std::vector<std::string> ListTexts(HWND dialog, int id) {
  std::vector<std::string> texts;
  const int count = int(SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[64] = {};
    SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
    texts.push_back(text);
  }
  return texts;
}

std::string SelectedText(HWND dialog, int id) {
  const int entry = int(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0));
  return entry < 0 ? "" : ListTexts(dialog, id)[size_t(entry)];
}

class ConfigDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    previous = HvCore::GetInstance();
    core = new CCore;
    core->AddRef();
    HvCore::SetInstance(core);
  }
  void TearDown() override {
    HvSetMessageBoxLogging(false);
    HvCore::SetInstance(previous);
    core->DropRef();
  }
  // Runs the dialog of `config` with the given actions; the record starts as garbage to show what is written.
  bool Run(HvConfig& config, std::function<void(HWND)> actions) {
    memset(&settings, 0xCD, sizeof settings);
    DialogDriver driver(std::move(actions));
    const bool result = config.RunDialog(settings, desktop);
    EXPECT_TRUE(driver.found) << "no dialog appeared";
    return result;
  }
  // Message boxes become lines on stderr while `run` runs; returns them.
  std::string Logged(std::function<void()> run) {
    HvSetMessageBoxLogging(true);
    testing::internal::CaptureStderr();
    run();
    return testing::internal::GetCapturedStderr();
  }

  CCore* core = nullptr;
  HvCore* previous = nullptr;
  HvDeviceSettings settings;
};

TEST_F(ConfigDialogTest, RunWithTheDefaultsGivesFullScreen1024x768DemoWithoutMultisampling) {
  TestConfig config(true, 3);
  std::string resolution, depth, vertex;
  bool demoChecked = false, benchmarkChecked = true;
  ASSERT_TRUE(Run(config, [&](HWND d) {
    resolution = SelectedText(d, IDC_RESOLUTION);
    depth = SelectedText(d, IDC_DEPTH);
    vertex = SelectedText(d, IDC_VERTEX_PROCESSING);
    demoChecked = IsDlgButtonChecked(d, IDC_DEMO) == BST_CHECKED;
    benchmarkChecked = IsDlgButtonChecked(d, IDC_BENCHMARK) == BST_CHECKED;
    Press(d, IDOK);
  }));
  EXPECT_EQ("1024 x 768", resolution);
  EXPECT_EQ("32bpp", depth);
  EXPECT_EQ("Hardware", vertex);
  EXPECT_TRUE(demoChecked);
  EXPECT_FALSE(benchmarkChecked);

  EXPECT_EQ(1024u, settings.displayWidth);
  EXPECT_EQ(768u, settings.displayHeight);
  EXPECT_EQ(1024u, settings.backBufferWidth);
  EXPECT_EQ(D3DFMT_X8R8G8B8, settings.displayFormat);
  EXPECT_EQ(D3DFMT_X8R8G8B8, settings.backBufferFormat);
  EXPECT_FALSE(settings.windowed);
  EXPECT_EQ(D3DMULTISAMPLE_NONE, settings.multiSampleType);
  EXPECT_EQ(uint32_t(D3DCREATE_HARDWARE_VERTEXPROCESSING), settings.behaviorFlags);
  EXPECT_EQ(uint32_t(D3DPRESENT_INTERVAL_ONE), settings.presentationInterval);
  EXPECT_EQ(0u, settings.fullScreenRefreshRate);
  EXPECT_EQ(uint32_t(CCore::Demo), core->GetMode());
}

TEST_F(ConfigDialogTest, BenchmarkPresentsImmediatelyAndTheListsChooseSizeAndDepth) {
  TestConfig config(true, -1);
  ASSERT_TRUE(Run(config, [](HWND d) {
    Select(d, IDC_RESOLUTION, 1);
    Select(d, IDC_DEPTH, 1);
    SendDlgItemMessageA(d, IDC_DEMO, BM_SETCHECK, BST_UNCHECKED, 0);
    SendDlgItemMessageA(d, IDC_BENCHMARK, BM_SETCHECK, BST_CHECKED, 0);
    Press(d, IDOK);
  }));
  EXPECT_EQ(uint32_t(CCore::Benchmark), core->GetMode());
  EXPECT_EQ(uint32_t(D3DPRESENT_INTERVAL_IMMEDIATE), settings.presentationInterval);
  EXPECT_EQ(800u, settings.displayWidth);
  EXPECT_EQ(600u, settings.backBufferHeight);
  EXPECT_EQ(D3DFMT_R5G6B5, settings.displayFormat);
  EXPECT_EQ(D3DFMT_R5G6B5, settings.backBufferFormat);
}

TEST_F(ConfigDialogTest, ExitEndsWithFalseAndLeavesNoWindow) {
  TestConfig config(true, -1);
  EXPECT_FALSE(Run(config, [](HWND d) { Press(d, IDCANCEL); }));
  HWND left = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM r) { *reinterpret_cast<HWND*>(r) = w; return FALSE; },
                    LPARAM(&left));
  EXPECT_EQ(nullptr, left);
  EXPECT_EQ(uint32_t(CCore::NotChosen), core->GetMode());
}

TEST_F(ConfigDialogTest, AntialiasingListFollowsTheQualityLevels) {
  std::vector<std::string> texts;
  bool enabled = false;
  {
    TestConfig config(true, 3);
    ASSERT_TRUE(Run(config, [&](HWND d) {
      texts = ListTexts(d, IDC_ANTIALIASING);
      enabled = Enabled(d, IDC_ANTIALIASING);
      Select(d, IDC_ANTIALIASING, 2);
      Press(d, IDOK);
    }));
    EXPECT_EQ((std::vector<std::string>{"None", "1 samples", "2 samples"}), texts);
    EXPECT_TRUE(enabled);
    EXPECT_EQ(D3DMULTISAMPLE_NONMASKABLE, settings.multiSampleType);
    EXPECT_EQ(2u, settings.multiSampleQuality);
  }
  {
    TestConfig config(true, 1);
    ASSERT_TRUE(Run(config, [&](HWND d) {
      texts = ListTexts(d, IDC_ANTIALIASING);
      enabled = Enabled(d, IDC_ANTIALIASING);
      Press(d, IDOK);
    }));
    EXPECT_EQ((std::vector<std::string>{"None"}), texts);
    EXPECT_TRUE(enabled);
    EXPECT_EQ(D3DMULTISAMPLE_NONE, settings.multiSampleType);
  }
  {
    TestConfig config(true, -1);
    ASSERT_TRUE(Run(config, [&](HWND d) {
      texts = ListTexts(d, IDC_ANTIALIASING);
      enabled = Enabled(d, IDC_ANTIALIASING);
      Press(d, IDOK);
    }));
    EXPECT_EQ((std::vector<std::string>{"None"}), texts);
    EXPECT_FALSE(enabled);
    EXPECT_EQ(D3DMULTISAMPLE_NONE, settings.multiSampleType);
    EXPECT_EQ(0u, settings.multiSampleQuality);
  }
}

TEST_F(ConfigDialogTest, WithoutHardwareVertexShadersSoftwareIsSelectedAndFixed) {
  TestConfig config(false, -1);
  std::string vertex;
  bool enabled = true;
  ASSERT_TRUE(Run(config, [&](HWND d) {
    vertex = SelectedText(d, IDC_VERTEX_PROCESSING);
    enabled = Enabled(d, IDC_VERTEX_PROCESSING);
    Press(d, IDOK);
  }));
  EXPECT_EQ("Software", vertex);
  EXPECT_FALSE(enabled);
  EXPECT_EQ(uint32_t(D3DCREATE_SOFTWARE_VERTEXPROCESSING), settings.behaviorFlags);
}

TEST_F(ConfigDialogTest, AListWithoutSelectionRefusesTheChoiceWithItsMessage) {
  const struct {
    int list;
    const char* message;
  } cases[] = {
    {IDC_RESOLUTION, "Incorrect display mode"},
    {IDC_DEPTH, "Incorrect display mode"},
    {IDC_VERTEX_PROCESSING, "Incorrect vertex processing mode"},
    {IDC_ANTIALIASING, "Incorrect antialiasing mode"},
  };
  for (const auto& c : cases) {
    TestConfig config(true, 3);
    bool result = true;
    const std::string log = Logged([&] {
      result = Run(config, [&](HWND d) {
        Select(d, c.list, -1);
        Press(d, IDOK);
      });
    });
    EXPECT_FALSE(result) << c.message;
    EXPECT_NE(std::string::npos, log.find(std::string("text \"") + c.message + "\", style 0x30")) << log;
  }
}

TEST_F(ConfigDialogTest, EngineDialogOffersWindowedOrFullScreen) {
  HvConfig config;
  bool formatEnabledAtStart = true, formatEnabledAfter = false;
  std::string resolution;
  ASSERT_TRUE(Run(config, [&](HWND d) {
    formatEnabledAtStart = Enabled(d, IDC_ENGINE_FORMAT);
    resolution = SelectedText(d, IDC_ENGINE_RESOLUTION);
    Press(d, IDOK);
  }));
  EXPECT_FALSE(formatEnabledAtStart);
  EXPECT_EQ("640 x 480", resolution);
  EXPECT_TRUE(settings.windowed);
  EXPECT_EQ(640u, settings.displayWidth);
  EXPECT_EQ(desktop.format, settings.backBufferFormat);

  ASSERT_TRUE(Run(config, [&](HWND d) {
    Select(d, IDC_ENGINE_MODE, 1);
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_ENGINE_MODE, CBN_SELCHANGE), LPARAM(GetDlgItem(d, IDC_ENGINE_MODE)));
    formatEnabledAfter = Enabled(d, IDC_ENGINE_FORMAT);
    Select(d, IDC_ENGINE_FORMAT, 1);
    Select(d, IDC_ENGINE_RESOLUTION, 3);
    Press(d, IDOK);
  }));
  EXPECT_TRUE(formatEnabledAfter);
  EXPECT_FALSE(settings.windowed);
  EXPECT_EQ(D3DFMT_R5G6B5, settings.displayFormat);
  EXPECT_EQ(1280u, settings.backBufferWidth);
  EXPECT_EQ(1024u, settings.displayHeight);

  EXPECT_FALSE(Run(config, [](HWND d) { Press(d, IDC_ENGINE_EXIT); }));
}

TEST_F(ConfigDialogTest, PreselectedChoicesSkipTheDialogAndFillAsItWould) {
  HvAutomation options;
  options.skipDialog = true;
  options.mode = CCore::Benchmark;
  options.windowed = true;
  options.width = 640;
  options.height = 480;
  core->SetAutomation(options);
  TestConfig config(true, 3);
  const HvDisplayMode desktop16 = {1024, 768, D3DFMT_R5G6B5};
  ASSERT_TRUE(config.RunDialog(settings, desktop16));
  EXPECT_TRUE(settings.windowed);
  EXPECT_EQ(D3DFMT_R5G6B5, settings.backBufferFormat);  // a window takes the desktop's format
  EXPECT_EQ(640u, settings.backBufferWidth);
  EXPECT_EQ(480u, settings.displayHeight);
  EXPECT_EQ(uint32_t(D3DPRESENT_INTERVAL_IMMEDIATE), settings.presentationInterval);
  EXPECT_EQ(uint32_t(CCore::Benchmark), core->GetMode());

  options.mode = CCore::Demo;
  options.windowed = false;
  options.depth = 16;
  core->SetAutomation(options);
  ASSERT_TRUE(config.RunDialog(settings, desktop));
  EXPECT_FALSE(settings.windowed);
  EXPECT_EQ(D3DFMT_R5G6B5, settings.displayFormat);
  EXPECT_EQ(D3DMULTISAMPLE_NONE, settings.multiSampleType);
  EXPECT_EQ(uint32_t(D3DCREATE_HARDWARE_VERTEXPROCESSING), settings.behaviorFlags);
  EXPECT_EQ(uint32_t(D3DPRESENT_INTERVAL_ONE), settings.presentationInterval);
  EXPECT_EQ(uint32_t(CCore::Demo), core->GetMode());
}

TEST_F(ConfigDialogTest, SmallTexturesRefuseTheAdapter) {
  TestConfig config(true, -1);
  D3DCAPS9 caps = {};
  caps.MaxTextureWidth = 4096;
  caps.MaxTextureHeight = 1024;
  caps.VertexShaderVersion = D3DVS_VERSION(1, 1);
  bool result = true;
  const std::string log = Logged([&] { result = config.CheckCaps(&caps); });
  EXPECT_FALSE(result);
  EXPECT_NE(std::string::npos, log.find("Your hardware doesn't support 2048x2048 textures!")) << log;
}

TEST_F(ConfigDialogTest, ResultsDialogShowsTheScoreInItsLargeFont) {
  core->SetMode(CCore::Benchmark);
  core->SetScore(4321);
  CConfig config;
  std::string score, label;
  int scoreHeight = 0, labelHeight = 0;
  DialogDriver driver([&](HWND d) {
    char text[32] = {};
    GetDlgItemTextA(d, IDC_SCORE, text, sizeof text);
    score = text;
    GetDlgItemTextA(d, IDC_SCORE_LABEL, text, sizeof text);
    label = text;
    LOGFONTA font = {};
    if (GetObjectA(HFONT(SendDlgItemMessageA(d, IDC_SCORE, WM_GETFONT, 0, 0)), sizeof font, &font)) scoreHeight = font.lfHeight;
    if (GetObjectA(HFONT(SendDlgItemMessageA(d, IDC_SCORE_LABEL, WM_GETFONT, 0, 0)), sizeof font, &font)) labelHeight = font.lfHeight;
    Press(d, IDOK);
  });
  EXPECT_TRUE(config.Release());
  EXPECT_EQ("4321", score);
  EXPECT_EQ("Your score is:", label);
  EXPECT_EQ(HvScreenFontHeight(25), scoreHeight);
  EXPECT_LT(scoreHeight, labelHeight);  // negative heights: the score's is larger
}

TEST_F(ConfigDialogTest, EndOfRunMessagesFollowTheModeAndAScoreOnlyWhenOneWasSet) {
  HvAutomation options;
  options.noMessageBoxes = true;
  core->SetAutomation(options);
  CConfig config;
  const struct {
    CCore::Mode mode;
    int32_t score;
    const char* line;
  } cases[] = {
    {CCore::BenchmarkAborted, CCore::kNoScore, "MessageBox: caption \"Orvanta\", text \"Benchmark aborted!\", style 0x50040"},
    {CCore::DemoAborted, CCore::kNoScore, "MessageBox: caption \"Orvanta\", text \"Demo aborted!\", style 0x50040"},
    {CCore::Benchmark, 4690, "MessageBox: caption \"Results\", text \"Your score is: 4690\", style 0x0"},
    {CCore::Benchmark, 0, "MessageBox: caption \"Results\", text \"Your score is: 0\", style 0x0"},
    {CCore::Benchmark, CCore::kNoScore, ""},  // the start-up failed: its own message was the last word
    {CCore::Demo, CCore::kNoScore, ""},
  };
  for (const auto& c : cases) {
    core->SetMode(c.mode);
    core->SetScore(c.score);
    bool result = false;
    const std::string log = Logged([&] { result = config.Release(); });
    EXPECT_TRUE(result);
    EXPECT_EQ(c.line[0] ? std::string(c.line) + "\n" : "", log) << "mode " << c.mode << ", score " << c.score;
  }
}
}

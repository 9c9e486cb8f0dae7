// Command-line options: values reach the record, bad values are refused with a reason, anything that is
// not an option is ignored.
#include <gtest/gtest.h>
#include "engine/core/HvAutomation.h"
#include "engine/core/HvMessageBox.h"
#include <windows.h>

namespace {
bool Parse(std::vector<const char*> args, HvAutomation& o, std::string& error) {
  args.insert(args.begin(), "Orvanta.exe");
  return HvParseAutomation(int(args.size()), const_cast<char**>(args.data()), o, error);
}
}

TEST(AutomationTest, NoArgumentsKeepTheDialog) {
  HvAutomation o;
  std::string e;
  ASSERT_TRUE(Parse({}, o, e));
  EXPECT_FALSE(o.skipDialog);
  EXPECT_FALSE(o.noMessageBoxes);
  EXPECT_LT(o.quitAt, 0);
  EXPECT_FALSE(o.closeWhileLoading);
  EXPECT_LT(o.loseDeviceAt, 0);
}

TEST(AutomationTest, OptionsReachTheRecord) {
  HvAutomation o;
  std::string e;
  ASSERT_TRUE(Parse({"--mode", "benchmark", "--res", "800x600", "--depth", "16", "--windowed", "--step", "0.04",
                     "--grab", "2.5,1,10", "--out", "x", "--quit-at", "12", "--close-while-loading",
                     "--lose-device-at", "7.5", "--fps", "--profile", "p.txt", "--frame-log", "f.csv", "--help"}, o, e)) << e;
  EXPECT_TRUE(o.skipDialog);
  EXPECT_EQ(o.mode, 1u);
  EXPECT_EQ(o.width, 800u);
  EXPECT_EQ(o.height, 600u);
  EXPECT_EQ(o.depth, 16u);
  EXPECT_TRUE(o.windowed);
  EXPECT_EQ(o.step, 0.04);
  EXPECT_EQ(o.grabTimes, (std::vector<double>{1, 2.5, 10}));
  EXPECT_EQ(o.outDir, "x");
  EXPECT_EQ(o.quitAt, 12);
  EXPECT_TRUE(o.closeWhileLoading);
  EXPECT_EQ(o.loseDeviceAt, 7.5);
  EXPECT_TRUE(o.printFps);
  EXPECT_EQ(o.profilePath, "p.txt");
  EXPECT_EQ(o.frameLogPath, "f.csv");
  EXPECT_TRUE(o.help);
  EXPECT_FALSE(o.noMessageBoxes);
}

TEST(AutomationTest, BadValuesAreRefusedWithTheOptionNamed) {
  const std::vector<std::vector<const char*>> bad = {
    {"--mode", "fast"}, {"--res", "1024"}, {"--res", "1024x"}, {"--res", "x768"}, {"--res", "1024x768x"},
    {"--res", "0x0"}, {"--depth", "24"}, {"--step", "0"}, {"--step", "-1"}, {"--step", "abc"},
    {"--grab", "1,,2"}, {"--grab", "1,x"}, {"--grab", ""}, {"--quit-at", "-3"}, {"--quit-at"}, {"--bogus"},
    {"--lose-device-at", "soon"}, {"--lose-device-at"}, {"--out", ""}, {"--profile", ""}, {"--depth", "--windowed"},
    {"--frame-log", ""}, {"--frame-log"},
  };
  for (const auto& args : bad) {
    HvAutomation o;
    std::string e;
    EXPECT_FALSE(Parse(args, o, e)) << args[0];
    EXPECT_NE(e.find(args[0]), std::string::npos) << e;
  }
}

TEST(AutomationTest, ACaptureNeedsTheSteppedClock) {
  HvAutomation o;
  std::string e;
  ASSERT_TRUE(Parse({"--capture-from", "15", "--capture", "frames", "--step", "0.1"}, o, e)) << e;
  EXPECT_EQ(o.capturePath, "frames");
  EXPECT_EQ(o.captureFrom, 15);
  EXPECT_FALSE(Parse({"--capture", "frames"}, o, e));
  EXPECT_EQ(e, "option --capture needs --step S");
  EXPECT_FALSE(Parse({"--step", "0.1", "--capture-from", "15"}, o, e));
  EXPECT_EQ(e, "option --capture-from needs --capture PATH");
  EXPECT_FALSE(Parse({"--capture", "", "--step", "0.1"}, o, e));
  EXPECT_FALSE(Parse({"--capture", "frames", "--step", "0.1", "--capture-from", "-1"}, o, e));
}

TEST(AutomationTest, ArgumentsThatAreNoOptionsAreIgnored) {
  HvAutomation o;
  std::string e;
  ASSERT_TRUE(Parse({"C:\\Users\\me\\Desktop\\dropped.x", "-h", "/?", "-"}, o, e)) << e;
  EXPECT_FALSE(o.skipDialog);
  ASSERT_TRUE(Parse({"notes.txt", "--windowed", "more"}, o, e)) << e;
  EXPECT_TRUE(o.windowed);
}

TEST(AutomationTest, EveryArgumentIsReadEvenAfterABadOne) {
  HvAutomation o;
  std::string e;
  EXPECT_FALSE(Parse({"--bogus", "--res", "12", "--no-message-boxes", "--help"}, o, e));
  EXPECT_EQ(e, "unknown option --bogus") << "the first fault is the one reported";
  EXPECT_TRUE(o.noMessageBoxes) << "the message about it must go where the user asked";
  EXPECT_TRUE(o.help);
}

TEST(AutomationTest, AValueNeverStartsWithTwoDashes) {
  HvAutomation o;
  std::string e;
  EXPECT_FALSE(Parse({"--out", "--no-message-boxes"}, o, e));
  EXPECT_EQ(e, "option --out needs a value: --out DIR");
  EXPECT_TRUE(o.noMessageBoxes);
  EXPECT_TRUE(o.outDir.empty());
}

TEST(AutomationTest, TextForAProgramWithoutAnyOutputGoesIntoAMessageBox) {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  SetStdHandle(STD_OUTPUT_HANDLE, nullptr);  // started from a shortcut: no output, no console to attach to
  HvSetMessageBoxLogging(true);
  testing::internal::CaptureStderr();
  HvShowText("Usage:\n  --help", "Orvanta");
  const std::string log = testing::internal::GetCapturedStderr();
  SetStdHandle(STD_OUTPUT_HANDLE, out);
  EXPECT_EQ("MessageBox: caption \"Orvanta\", text \"Usage:\\n  --help\", style 0x40\n", log);
}

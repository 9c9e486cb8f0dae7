// Command-line options: values reach the record, bad values are refused with a reason.
#include <gtest/gtest.h>
#include "engine/core/HvAutomation.h"

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
                     "--lose-device-at", "7.5"}, o, e)) << e;
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
}

TEST(AutomationTest, BadValuesAreRefusedWithTheOptionNamed) {
  const std::vector<std::vector<const char*>> bad = {
    {"--mode", "fast"}, {"--res", "1024"}, {"--res", "1024x"}, {"--res", "x768"}, {"--res", "1024x768x"},
    {"--res", "0x0"}, {"--depth", "24"}, {"--step", "0"}, {"--step", "-1"}, {"--step", "abc"},
    {"--grab", "1,,2"}, {"--grab", "1,x"}, {"--grab", ""}, {"--quit-at", "-3"}, {"--quit-at"}, {"--bogus"},
    {"--lose-device-at", "soon"}, {"--lose-device-at"},
  };
  for (const auto& args : bad) {
    HvAutomation o;
    std::string e;
    EXPECT_FALSE(Parse(args, o, e)) << args[0];
    EXPECT_NE(e.find(args[0]), std::string::npos) << e;
  }
}

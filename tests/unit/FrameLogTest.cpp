// The frame log: frame times are the clock's steps between frame ends (the first from the clock's reset),
// written as CSV after a header, with Unix line ends; an unwritable path is reported.
#include <gtest/gtest.h>
#include "engine/core/HvFrameLog.h"
#include <windows.h>
#include <fstream>
#include <sstream>

TEST(FrameLogTest, OneLinePerFrameWithTheTimeSinceThePreviousFrame) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string path = std::string(temp) + "orvanta-frames-" + std::to_string(GetCurrentProcessId()) + ".csv";
  HvFrameLog log;
  log.Start(2);  // a longer run than reserved for still keeps every frame
  log.Add(0.004, 0);
  log.Add(0.02, 0);
  log.Add(1.0, 1);
  log.Add(71.5, 2);
  ASSERT_EQ(log.GetCount(), 4u);
  ASSERT_TRUE(log.Write(path));
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  file.close();
  DeleteFileA(path.c_str());
  EXPECT_EQ(text.str(),
            "frame,show_time_s,frame_time_ms,section\n"
            "1,0.004000,4.0000,0\n"
            "2,0.020000,16.0000,0\n"
            "3,1.000000,980.0000,1\n"
            "4,71.500000,70500.0000,2\n");

  log.Start(10);  // starts afresh
  log.Add(0.5, 3);
  EXPECT_EQ(log.GetCount(), 1u);
  EXPECT_FALSE(log.Write(std::string(temp) + "no such folder\\frames.csv"));
}

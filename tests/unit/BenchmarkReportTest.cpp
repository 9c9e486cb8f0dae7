// The benchmark's score, averages, names and the report text.
#include <gtest/gtest.h>
#include "app/scenes/BenchmarkReport.h"

TEST(BenchmarkReportTest, SixtyFramesPerSecondThroughoutScores4690) {
  const int frames[3] = {4200, 3960, 5928};
  EXPECT_EQ(ComputeScore(frames), 4690);
}

TEST(BenchmarkReportTest, ScoreTruncatesTowardZero) {
  const int one[3] = {1, 1, 1};
  EXPECT_EQ(ComputeScore(one), 1);      // the weights sum to 1
  const int two[3] = {2, 0, 0};
  EXPECT_EQ(ComputeScore(two), 0);      // 0.676
  const int three[3] = {3, 0, 0};
  EXPECT_EQ(ComputeScore(three), 1);    // 1.0146
  const int none[3] = {0, 0, 0};
  EXPECT_EQ(ComputeScore(none), 0);
}

TEST(BenchmarkReportTest, AverageDividesByTheWholeShowLength) {
  EXPECT_EQ(AverageFps(14087), 59);     // 14087 / 234.8 = 59.996
  EXPECT_EQ(AverageFps(14088), 60);
  EXPECT_EQ(AverageFps(0), 0);
}

TEST(BenchmarkReportTest, SystemNamesFromTheTableAndBeyond) {
  EXPECT_EQ(SystemName(4, 0, VER_PLATFORM_WIN32_NT), "Windows NT 4.0");
  EXPECT_EQ(SystemName(4, 0, VER_PLATFORM_WIN32_WINDOWS), "Windows 95");
  EXPECT_EQ(SystemName(5, 1, VER_PLATFORM_WIN32_NT), "Windows XP");
  EXPECT_EQ(SystemName(10, 0, VER_PLATFORM_WIN32_NT), "Windows 10");
  EXPECT_EQ(SystemName(11, 7, VER_PLATFORM_WIN32_NT), "Windows 11.7");  // unknown: never an empty cell
}

TEST(BenchmarkReportTest, CreationLinePadsAllButDayAndYear) {
  SYSTEMTIME t = {};
  t.wYear = 2005, t.wMonth = 3, t.wDay = 4, t.wHour = 9, t.wMinute = 7, t.wSecond = 5;
  EXPECT_EQ(FormatCreationLine(t), "Created: 4/03/2005 09:07:05");
  t.wMonth = 12, t.wDay = 31, t.wHour = 23, t.wMinute = 10, t.wSecond = 0;
  EXPECT_EQ(FormatCreationLine(t), "Created: 31/12/2005 23:10:00");
}

TEST(BenchmarkReportTest, ReportIsOneLineWithOptionalProcessorRows) {
  BenchmarkFigures f = {};
  f.score = 4690, f.totalFrames = 14087, f.minFps = 31, f.maxFps = 402;
  f.systemName = "Windows XP", f.servicePack = "Service Pack 2", f.graphicsCard = "Card";
  f.created.wYear = 2005, f.created.wMonth = 3, f.created.wDay = 4;
  std::string r = FormatReport(f);
  EXPECT_EQ(r.find('\n'), std::string::npos);
  EXPECT_EQ(r.rfind("<html> <head> <title>:: Orvanta Benchmark Results ::</title>", 0), 0u);
  const std::string middle =
      "<tr><td class='l'>Score</td><td class='r'>4690</td></tr>"
      "<tr><td class='l'>Average frames per second</td><td class='r'>59 FPS</td></tr>"
      "<tr><td class='l'>Minimum frames per second</td><td class='r'>31 FPS</td></tr>"
      "<tr><td class='l'>Maximum frames per second</td><td class='r'>402 FPS</td></tr>"
      "<tr><td class='l'>Total frames rendered</td><td class='r'>14087</td></tr>"
      "<tr><td class='h' colspan=2><font size=\"4\">Computer information</font></tr></td>"
      "<tr><td class='l'>Operating System</td><td class='r'>Windows XP Service Pack 2</td></tr>"
      "<tr><td class='l'>Graphics card</td><td class='r'>Card</td></tr>"
      "</table> </center> <br> <br>Created: 4/03/2005 00:00:00<br> <hr> </body> </html>";
  ASSERT_GE(r.size(), middle.size());
  EXPECT_EQ(r.substr(r.size() - middle.size()), middle);

  f.hasProcessorName = true, f.processorName = "CPU X";
  f.hasProcessorMhz = true, f.processorMhz = 2400;
  r = FormatReport(f);
  EXPECT_NE(r.find("Computer information</font></tr></td><tr><td class='l'>Processor</td><td class='r'>CPU X</td></tr>"
                   "<tr><td class='l'>Processor speed</td><td class='r'>2400</td></tr><tr><td class='l'>Operating System"),
            std::string::npos);
}

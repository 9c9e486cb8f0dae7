// The package reader against packages built byte by byte here (independently of the writer), in a
// sandbox folder under the temporary folder: the extraction folder is sandbox\out.
#include <gtest/gtest.h>
#include "app/CPackage.h"
#include "app/PackageFormat.h"
#include "engine/core/HvMessageBox.h"
#include <windows.h>
#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {
std::string Header(char coding) { return std::string("PAC01") + coding; }

std::string FileRecord(const std::string& name, const std::string& stored) {
  std::string record = "\x01" + name + '\0' + '\0';
  for (int i = 0; i < 4; ++i) record += char(stored.size() >> (8 * i));
  return record + '\0' + stored;
}

std::string Enter(const std::string& name) { return "\x02" + name + '\0'; }
std::string Leave() { return std::string("\x03\0", 2); }

std::string TempFolder() {
  char temp[MAX_PATH + 1];
  GetTempPathA(sizeof temp, temp);
  return temp;
}

std::string CurrentFolder() {
  char path[MAX_PATH];
  GetCurrentDirectoryA(sizeof path, path);
  return path;
}

void Put(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Get(const std::string& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

std::vector<std::string> List(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

class PackageTest : public ::testing::Test {
protected:
  void SetUp() override {
    HvSetMessageBoxLogging(true);
    sandbox = TempFolder() + "orvanta_package_test_" + std::to_string(GetCurrentProcessId());
    out = sandbox + "\\out";
    packageFile = sandbox + "\\test.pac";
    CreateDirectoryA(sandbox.c_str(), nullptr);
    CreateDirectoryA(out.c_str(), nullptr);
    reader.SetFolder(out.c_str());
  }
  void TearDown() override { CPackage().DeleteFolder(sandbox.c_str()); }

  // Writes `bytes` as the package and extracts it into sandbox\out; `log` gets the message boxes.
  bool Extract(const std::string& bytes) {
    Put(packageFile, bytes);
    testing::internal::CaptureStderr();
    bool ok = reader.Extract(packageFile.c_str());
    log = testing::internal::GetCapturedStderr();
    return ok;
  }
  bool Shown(const std::string& text) const {
    return log.find("caption \"Extracting package\", text \"" + text + "\"") != std::string::npos;
  }

  CPackage reader;
  std::string sandbox, out, packageFile, log;
};

TEST_F(PackageTest, HeaderOnlyExtractsNothing) {
  EXPECT_TRUE(Extract(Header('i')));
  EXPECT_EQ(reader.GetCoding(), 1u);
  EXPECT_TRUE(List(out).empty());
  EXPECT_TRUE(Extract(Header('n')));
  EXPECT_EQ(reader.GetCoding(), 0u);
  EXPECT_EQ(log, "");
}

TEST_F(PackageTest, CodingsDecodeFileData) {
  std::string stored("\x00\xFF\x12\x80", 4);
  ASSERT_TRUE(Extract(Header('i') + FileRecord("inv.bin", stored)));
  EXPECT_EQ(Get(out + "\\inv.bin"), std::string("\xFF\x00\xED\x7F", 4));
  ASSERT_TRUE(Extract(Header('n') + FileRecord("plain.bin", stored)));
  EXPECT_EQ(Get(out + "\\plain.bin"), stored);

  // Larger than one write chunk, with a size field using all four bytes' positions.
  std::string big(3 * 65536 + 7, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = char(i * 7 + (i >> 16));
  std::string inverted = big;
  for (char& c : inverted) c = char(~c);
  ASSERT_TRUE(Extract(Header('i') + FileRecord("big.bin", inverted)));
  EXPECT_EQ(Get(out + "\\big.bin"), big);
}

TEST_F(PackageTest, FoldersNestAndReturn) {
  CreateDirectoryA((out + "\\old").c_str(), nullptr);  // entering an existing folder is fine
  Put(out + "\\top.txt", "a longer previous content");  // overwritten
  ASSERT_TRUE(Extract(Header('n') + Enter("a") + FileRecord("b", "B") + Enter("c d") +
                      FileRecord("e.x", "E") + Leave() + Leave() + Enter("old") + FileRecord("o", "O") +
                      Leave() + FileRecord("top.txt", "T") + FileRecord("empty", "")));
  EXPECT_EQ(Get(out + "\\a\\b"), "B");
  EXPECT_EQ(Get(out + "\\a\\c d\\e.x"), "E");
  EXPECT_EQ(Get(out + "\\old\\o"), "O");
  EXPECT_EQ(Get(out + "\\top.txt"), "T");
  EXPECT_EQ(List(out), (std::vector<std::string>{"a", "empty", "old", "top.txt"}));
  EXPECT_EQ(Get(out + "\\empty"), "");
}

TEST_F(PackageTest, WorkingDirectoryIsRestored) {
  std::string before = CurrentFolder();
  EXPECT_TRUE(Extract(Header('n') + Enter("a") + Enter("b")));
  EXPECT_EQ(CurrentFolder(), before);
  EXPECT_FALSE(Extract(Header('n') + Enter("a") + "\x09x"));
  EXPECT_EQ(CurrentFolder(), before);
}

TEST_F(PackageTest, BadHeadersAreRejected) {
  const struct {
    std::string bytes, message;
  } cases[] = {
      {"PAC02n", "Incorrect package ID"},
      {"PAC", "Incorrect package ID"},
      {"", "Incorrect package ID"},
      {"PAC01", "Incorrect package coding format"},
      {"PAC01I", "Incorrect package coding format"},
      {"PAC01x" + FileRecord("f", "x"), "Incorrect package coding format"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(Extract(c.bytes)) << c.bytes;
    EXPECT_TRUE(Shown(c.message)) << c.bytes << ": " << log;
  }
  EXPECT_TRUE(List(out).empty());
}

TEST_F(PackageTest, BadTagStopsAfterEarlierFiles) {
  EXPECT_FALSE(Extract(Header('n') + FileRecord("first", "1") + "\x04" + FileRecord("second", "2")));
  EXPECT_TRUE(Shown("Incorrect package ID"));
  EXPECT_EQ(List(out), std::vector<std::string>{"first"});  // the caller deletes the folder
}

TEST_F(PackageTest, TagAsLastByteEndsTheStream) {
  for (const char* tag : {"\x01", "\x02", "\x03", "\x07"}) {
    EXPECT_TRUE(Extract(Header('n') + FileRecord("f", "x") + tag)) << log;
  }
}

TEST_F(PackageTest, RecordsRunningPastTheEndAreRejected) {
  std::string record = FileRecord("f", "12345");
  const std::string damaged[] = {
      Header('n') + "\x01" + "unterminated",
      Header('n') + "\x02" + "unterminated",
      Header('n') + record.substr(0, 3 + 3),               // name, then half of the fields
      Header('n') + record.substr(0, record.size() - 1),   // data one byte short
      Header('n') + "\x01" + "f" + '\0' + '\0' + "\xFF\xFF\xFF\xFF" + '\0' + "abc",
  };
  for (const std::string& bytes : damaged) {
    EXPECT_FALSE(Extract(bytes));
    EXPECT_TRUE(Shown("Package file '" + packageFile + "' is damaged")) << log;
  }
  EXPECT_TRUE(List(out).empty());
}

TEST_F(PackageTest, NamesThatCouldLeaveTheFolderAreRejected) {
  const std::string names[] = {
      "", ".", "..", "...", "..\\x", "../x", "a\\b", "a/b", "\\x", "/x", "C:x", "C:\\x", sandbox + "\\x",
      "x.", "x ", "a:b", "a*b", "a?b", "a|b", "a\"b", "<a>", "tab\tname", "CON", "nul.txt", "com1",
      "LPT9.log", "Aux .c", std::string(256, 'n')};
  for (const std::string& name : names) {
    for (const std::string& record : {FileRecord(name, "x"), Enter(name) + FileRecord("f", "x")}) {
      EXPECT_FALSE(Extract(Header('n') + Enter("in") + record)) << name;
      std::string shown = name;
      std::replace(shown.begin(), shown.end(), '\t', '?');  // control characters are not printed
      EXPECT_TRUE(Shown("Incorrect name '" + shown + "' in package")) << name << ": " << log;
    }
  }
  EXPECT_EQ(List(sandbox), (std::vector<std::string>{"out", "test.pac"}));
  EXPECT_EQ(List(out), std::vector<std::string>{"in"});
  EXPECT_TRUE(List(out + "\\in").empty());
}

TEST_F(PackageTest, LeavingNeverClimbsAboveTheFolder) {
  EXPECT_FALSE(Extract(Header('n') + Leave() + FileRecord("escaped", "x")));
  EXPECT_TRUE(Shown("Incorrect package folder structure"));
  EXPECT_FALSE(Extract(Header('n') + Enter("a") + Leave() + Leave() + FileRecord("escaped", "x")));
  EXPECT_EQ(List(sandbox), (std::vector<std::string>{"out", "test.pac"}));
  EXPECT_EQ(List(out), std::vector<std::string>{"a"});
}

TEST_F(PackageTest, FolderNameTakenByAFileIsAnError) {
  EXPECT_FALSE(Extract(Header('n') + FileRecord("a", "x") + Enter("a") + FileRecord("f", "y")));
  EXPECT_TRUE(Shown("Error creating folder 'a'"));
  EXPECT_EQ(List(out), std::vector<std::string>{"a"});
}

TEST_F(PackageTest, FileNameTakenByAFolderIsAnError) {
  EXPECT_FALSE(Extract(Header('n') + Enter("a") + Leave() + FileRecord("a", "x")));
  EXPECT_TRUE(Shown("Error writing file 'a")) << log;
}

TEST_F(PackageTest, MissingPackageOrFolder) {
  std::string missing = sandbox + "\\missing.pac";
  testing::internal::CaptureStderr();
  EXPECT_FALSE(reader.Extract(missing.c_str()));
  log = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(Shown("Package file '" + missing + "' doesn't exist")) << log;

  reader.SetFolder((sandbox + "\\nowhere").c_str());
  EXPECT_FALSE(Extract(Header('n') + FileRecord("f", "x")));
  EXPECT_TRUE(Shown("Folder '" + sandbox + "\\nowhere' doesn't exists")) << log;
  EXPECT_EQ(List(sandbox), (std::vector<std::string>{"out", "test.pac"}));
}

TEST_F(PackageTest, ExtractToUsesTheTemporaryFolder) {
  Put(packageFile, Header('i') + Enter("Msx") + FileRecord("m.mp3", "\xFE") + Leave());
  std::string name = "orvanta_extract_to_" + std::to_string(GetCurrentProcessId());
  char path[MAX_PATH];
  ASSERT_TRUE(reader.ExtractTo(packageFile.c_str(), name.c_str(), path));
  EXPECT_EQ(std::string(path), TempFolder() + "\\" + name);
  EXPECT_EQ(reader.GetFolder(), path);
  EXPECT_EQ(Get(std::string(path) + "\\Msx\\m.mp3"), "\x01");
  EXPECT_TRUE(reader.DeleteFolder(path));
  EXPECT_EQ(GetFileAttributesA(path), INVALID_FILE_ATTRIBUTES);

  // A failed unpack still names the folder, so that the caller can delete it.
  Put(packageFile, Header('n') + FileRecord("f", "x") + "\x09x");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(reader.ExtractTo(packageFile.c_str(), name.c_str(), path));
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::string(path), TempFolder() + "\\" + name);
  EXPECT_TRUE(reader.DeleteFolder(path));
}

TEST_F(PackageTest, DeleteFolderRemovesTreesOnly) {
  EXPECT_FALSE(reader.DeleteFolder((sandbox + "\\missing").c_str()));
  Put(sandbox + "\\file", "x");
  EXPECT_FALSE(reader.DeleteFolder((sandbox + "\\file").c_str()));
  EXPECT_EQ(Get(sandbox + "\\file"), "x");

  // A relative path, two levels deep, with empty folders and files at every level.
  ASSERT_TRUE(Extract(Header('n') + Enter("a") + Enter("b") + FileRecord("f", "1") + Enter("empty") +
                      Leave() + Leave() + FileRecord("g", "2") + Leave() + FileRecord("h", "3")));
  std::string before = CurrentFolder();
  ASSERT_TRUE(SetCurrentDirectoryA(sandbox.c_str()));
  EXPECT_TRUE(reader.DeleteFolder("out"));
  EXPECT_EQ(CurrentFolder(), sandbox);
  SetCurrentDirectoryA(before.c_str());
  EXPECT_EQ(List(sandbox), (std::vector<std::string>{"file", "test.pac"}));
}

TEST(PackageNames, PlainWindowsNamesAreSafe) {
  const std::string names[] = {"Orvanta by Brenholt.mp3", "a..b", ".hidden", "COM10", "CONSOLE", "nul_x",
                               "x\xE9", std::string(PacMaxNameLength, 'n')};
  for (const std::string& name : names)
    EXPECT_TRUE(PacIsSafeName(name.c_str(), name.size())) << name;
}

// Damaged packages: thousands of truncated and byte-flipped copies of a small valid package (both
// codings, nested folders, an empty file). Each must either unpack or fail with exactly one message,
// leave the working directory as it was and create nothing outside the extraction folder.
TEST_F(PackageTest, DamagedPackagesFailCleanly) {
  std::string records = Enter("Models") + FileRecord("ship.x", "xof 0303txt 0032 Frame ship { }") +
                        Enter("Maps") + FileRecord("hull.tga", std::string(24, '\x7F')) + Leave() + Leave() +
                        FileRecord("empty", "") + Enter("Msx") + FileRecord("tune.mp3", "\xFF\xFB\x90\x00") +
                        Leave() + FileRecord("top.bmp", "BM");
  const std::string valid[] = {Header('i') + records, Header('n') + records};
  // Bytes that matter to the reader: terminators, tags, separators, dots, size bytes.
  const char special[] = {'\0', '\x01', '\x02', '\x03', '\xFF', '.', '\\', '/', ':', ' '};
  const std::string before = CurrentFolder();
  Put(packageFile, "");
  const std::vector<std::string> parent = List(sandbox);  // the package and the extraction folder
  std::mt19937 random(20240601);
  const int cases = 2000;
  int unpacked = 0;
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < cases; ++i) {
    std::string bytes = valid[i % 2];
    const unsigned kind = random() % 3;  // 0: truncated, 1: flipped, 2: both
    if (kind != 1) bytes.resize(random() % bytes.size());
    if (kind != 0 && !bytes.empty()) {
      for (unsigned flips = 1 + random() % 4; flips > 0; --flips) {
        char& b = bytes[random() % bytes.size()];
        b = random() % 2 ? special[random() % sizeof special] : char(b ^ (1 + random() % 255));
      }
    }
    const bool ok = Extract(bytes);
    size_t messages = 0;
    for (size_t at = log.find("MessageBox:"); at != std::string::npos; at = log.find("MessageBox:", at + 1))
      ++messages;
    ASSERT_EQ(messages, ok ? 0u : 1u) << "case " << i << ": " << log;
    ASSERT_EQ(CurrentFolder(), before) << "case " << i;
    ASSERT_EQ(List(sandbox), parent) << "case " << i;
    unpacked += ok;
    ASSERT_TRUE(reader.DeleteFolder(out.c_str()));
    ASSERT_TRUE(CreateDirectoryA(out.c_str(), nullptr));
  }
  QueryPerformanceCounter(&end);
  printf("%d damaged packages, %d unpacked, %.1f s\n", cases, unpacked,
         double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
}
}  // namespace

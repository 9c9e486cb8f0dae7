// orvanta_pack [--plain] DIR FILE: packs the folder tree DIR (its contents, not DIR itself) into the
// data package FILE (layout in app/PackageFormat.h). File data is stored inverted unless --plain.
//
// The output is deterministic: entries are written in byte order of their names, so the same tree
// always gives the same bytes. Names must be printable ASCII (the same in every Windows ANSI code
// page), be accepted by the reader (PacIsSafeName) and stay distinct when Windows ignores case.
// Symbolic links and special files are refused. The package is written to FILE.part and renamed when
// complete, so a failed run leaves no package behind.
#include "PackageFormat.h"
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {
bool Fail(const std::string& text) {
  fprintf(stderr, "orvanta_pack: %s\n", text.c_str());
  return false;
}

bool IsAsciiName(const std::string& name) {
  for (char c : name)
    if (c < 0x20 || c > 0x7E) return false;
  return true;
}

std::string Upper(std::string name) {
  for (char& c : name) c = PacUpper(c);
  return name;
}

class Packer {
public:
  Packer(FILE* out, bool invert) : out(out), invert(invert), buffer(1 << 20) {}
  bool Header();
  bool Folder(const fs::path& folder);

private:
  bool Put(const void* bytes, size_t size);
  bool Name(uint8_t tag, const std::string& name);
  bool File(const fs::path& path, const std::string& name);

  FILE* out;
  bool invert;
  std::vector<uint8_t> buffer;  // file data on its way through
};

bool Packer::Put(const void* bytes, size_t size) {
  return fwrite(bytes, 1, size, out) == size || Fail("cannot write the package");
}

bool Packer::Header() {
  uint8_t coding = invert ? PacCodingInverted : PacCodingPlain;
  return Put(PacId, PacIdSize) && Put(&coding, 1);
}

bool Packer::Name(uint8_t tag, const std::string& name) {
  return Put(&tag, 1) && Put(name.c_str(), name.size() + 1);
}

bool Packer::File(const fs::path& path, const std::string& name) {
  std::error_code error;
  uintmax_t size = fs::file_size(path, error);
  if (error) return Fail(path.string() + ": " + error.message());
  if (size > UINT32_MAX) return Fail(path.string() + ": larger than 4 GiB - 1 bytes");
  uint8_t fields[PacFileFieldsSize] = {};
  PacWriteU32(fields + PacFileSizeOffset, uint32_t(size));
  if (!Name(PacTagFile, name) || !Put(fields, sizeof fields)) return false;

  FILE* in = fopen(path.c_str(), "rb");
  if (!in) return Fail(path.string() + ": cannot open");
  uintmax_t done = 0;
  bool ok = true;
  while (ok && done < size) {
    size_t count = fread(buffer.data(), 1, size_t(std::min<uintmax_t>(buffer.size(), size - done)), in);
    if (count == 0) break;
    if (invert) PacInvert(buffer.data(), count);
    ok = Put(buffer.data(), count);
    done += count;
  }
  // The size field is written already: a file that changed meanwhile would corrupt the package.
  bool changed = done != size || fgetc(in) != EOF;
  fclose(in);
  return ok && (!changed || Fail(path.string() + ": changed while being packed"));
}

bool Packer::Folder(const fs::path& folder) {
  std::error_code error;
  std::vector<fs::path> entries;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    entries.push_back(it->path());
  if (error) return Fail(folder.string() + ": " + error.message());
  std::sort(entries.begin(), entries.end(), [](const fs::path& a, const fs::path& b) {
    return a.filename().string() < b.filename().string();
  });

  std::set<std::string> upperNames;
  for (const fs::path& path : entries) {
    std::string name = path.filename().string();
    if (!IsAsciiName(name) || !PacIsSafeName(name.c_str(), name.size()))
      return Fail(path.string() + ": name not allowed in a package");
    if (!upperNames.insert(Upper(name)).second)
      return Fail(path.string() + ": another entry differs only in case, the same name on Windows");

    fs::file_status status = fs::symlink_status(path, error);
    if (error) return Fail(path.string() + ": " + error.message());
    if (fs::is_directory(status)) {
      uint8_t leave[2] = {PacTagLeaveFolder, 0};
      if (!Name(PacTagEnterFolder, name) || !Folder(path) || !Put(leave, sizeof leave)) return false;
    } else if (fs::is_regular_file(status)) {
      if (!File(path, name)) return false;
    } else {
      return Fail(path.string() + ": neither a regular file nor a folder");
    }
  }
  return true;
}

// A package written into the tree it packs would take in its own partial bytes.
bool IsInside(const fs::path& file, const fs::path& folder) {
  std::error_code error;
  fs::path a = fs::weakly_canonical(file, error), b = fs::canonical(folder, error);
  auto mismatch = std::mismatch(b.begin(), b.end(), a.begin(), a.end());
  return mismatch.first == b.end();
}
}  // namespace

int main(int argc, char** argv) {
  bool invert = true;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && args[0] == "--plain") {
    invert = false;
    args.erase(args.begin());
  }
  if (args.size() != 2) {
    fprintf(stderr, "usage: orvanta_pack [--plain] DIR FILE\n");
    return 2;
  }
  fs::path folder = args[0], file = args[1];
  std::error_code error;
  if (!fs::is_directory(folder, error)) return Fail(folder.string() + ": not a folder"), 1;
  if (IsInside(file, folder)) return Fail(file.string() + ": inside the folder being packed"), 1;

  fs::path part = file.string() + ".part";
  FILE* out = fopen(part.c_str(), "wb");
  if (!out) return Fail(part.string() + ": cannot create"), 1;
  Packer packer(out, invert);
  bool ok = packer.Header() && packer.Folder(folder);
  ok = (fclose(out) == 0 || Fail("cannot write the package")) && ok;
  if (ok) fs::rename(part, file, error);
  if (ok && error) ok = Fail(file.string() + ": " + error.message());
  if (!ok) fs::remove(part, error);
  return ok ? 0 : 1;
}

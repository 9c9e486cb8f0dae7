#include "CPackage.h"
#include "PackageFormat.h"
#include "../engine/core/HvMessageBox.h"
#include <windows.h>
#include <cstring>
#include <vector>

namespace {
const char* const Caption = "Extracting package";
const DWORD ChunkSize = 64 * 1024;  // bytes decoded per write

bool Fail(const std::string& text) {
  HvMessageBox(text.c_str(), Caption, MB_ICONEXCLAMATION);
  return false;
}

std::string CurrentDirectory() {
  DWORD capacity = GetCurrentDirectoryA(0, nullptr);
  std::string path(capacity, '\0');
  DWORD length = capacity ? GetCurrentDirectoryA(capacity, &path[0]) : 0;
  path.resize(length < capacity ? length : 0);
  return path;
}

std::string FullPath(const char* path) {
  DWORD capacity = GetFullPathNameA(path, 0, nullptr, nullptr);
  std::string full(capacity, '\0');
  DWORD length = capacity ? GetFullPathNameA(path, capacity, &full[0], nullptr) : 0;
  full.resize(length < capacity ? length : 0);
  return full;
}

// Puts back the working directory found at construction when it goes out of scope.
class WorkingDirectoryRestorer {
public:
  WorkingDirectoryRestorer() : saved(CurrentDirectory()) {}
  ~WorkingDirectoryRestorer() {
    if (!saved.empty()) SetCurrentDirectoryA(saved.c_str());
  }

private:
  std::string saved;
};

// The whole package file in one memory block.
class PackageBytes {
public:
  ~PackageBytes() {
    if (block) GlobalFree(block);
  }
  bool Read(const char* packageName);
  const uint8_t* Data() const { return static_cast<const uint8_t*>(block); }
  size_t Size() const { return size; }

private:
  void* block = nullptr;
  size_t size = 0;
};

bool PackageBytes::Read(const char* packageName) {
  HANDLE file = CreateFileA(packageName, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return Fail(std::string("Package file '") + packageName + "' doesn't exist");
  LARGE_INTEGER fileSize;
  DWORD read = 0;
  bool ok = GetFileSizeEx(file, &fileSize) && fileSize.QuadPart < MAXDWORD &&
            uint64_t(fileSize.QuadPart) < SIZE_MAX;
  if (ok) {
    size = size_t(fileSize.QuadPart);
    block = GlobalAlloc(GMEM_FIXED, size ? size : 1);
    ok = block && ReadFile(file, block, DWORD(size), &read, nullptr) && read == size;
  }
  CloseHandle(file);
  if (!ok) return Fail(std::string("Error reading package file '") + packageName + "'");
  return true;
}

// Walks the record stream. Every read is checked against the end of the file.
struct Cursor {
  const uint8_t* data;
  size_t size;
  size_t pos;
  size_t Left() const { return size - pos; }
};

std::string Damaged(const char* packageName) {
  return std::string("Package file '") + packageName + "' is damaged";
}

// A rejected name as the message shows it: control characters (line breaks, tabs) as '?'.
std::string Printable(std::string name) {
  for (char& c : name)
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  return name;
}

// Reads a terminated name and checks that it is one plain name that stays in the current folder.
bool ReadName(Cursor& cursor, std::string& name, const char* packageName) {
  const uint8_t* start = cursor.data + cursor.pos;
  const void* end = memchr(start, 0, cursor.Left());
  if (!end) return Fail(Damaged(packageName));
  size_t length = size_t(static_cast<const uint8_t*>(end) - start);
  name.assign(reinterpret_cast<const char*>(start), length);
  cursor.pos += length + 1;
  if (!PacIsSafeName(name.c_str(), length)) return Fail("Incorrect name '" + Printable(name) + "' in package");
  return true;
}

// Creates (or reuses) the folder `name` in the current folder and makes it current. A link planted
// there would lead outside the extraction folder, so only a real folder is entered.
bool EnterFolder(const std::string& name) {
  CreateDirectoryA(name.c_str(), nullptr);  // an existing folder is fine
  DWORD attributes = GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(attributes & FILE_ATTRIBUTE_REPARSE_POINT) && SetCurrentDirectoryA(name.c_str());
}
}  // namespace

bool CPackage::ExtractTo(const char* packageName, const char* folderName, char* folderPath) {
  folderPath[0] = '\0';
  char temp[MAX_PATH + 1];
  DWORD length = GetTempPathA(sizeof temp, temp);
  if (length == 0 || length > MAX_PATH) return Fail("Can't create temporary folder");
  // The temporary path ends with a backslash already; Windows accepts the doubled separator.
  std::string path = std::string(temp) + "\\" + folderName;
  if (path.size() >= MAX_PATH) return Fail("Can't create temporary folder");
  memcpy(folderPath, path.c_str(), path.size() + 1);
  CreateDirectoryA(folderPath, nullptr);  // an existing folder is fine
  SetFolder(folderPath);
  return Extract(packageName);
}

bool CPackage::Extract(const char* packageName) {
  PackageBytes package;
  if (!package.Read(packageName)) return false;
  WorkingDirectoryRestorer restorer;
  if (!SetCurrentDirectoryA(extractionFolder.c_str()))
    return Fail("Folder '" + extractionFolder + "' doesn't exists");

  const uint8_t* data = package.Data();
  size_t size = package.Size();
  if (size < PacIdSize || memcmp(data, PacId, PacIdSize) != 0) return Fail("Incorrect package ID");
  if (size < PacHeaderSize || (data[PacIdSize] != PacCodingInverted && data[PacIdSize] != PacCodingPlain))
    return Fail("Incorrect package coding format");
  coding = data[PacIdSize] == PacCodingInverted ? 1 : 0;

  Cursor cursor = {data, size, PacHeaderSize};
  uint32_t depth = 0;  // folders entered below the extraction folder
  std::string name;
  while (cursor.pos < size) {
    uint8_t tag = data[cursor.pos++];
    if (cursor.pos >= size) break;  // a tag as the last byte ends the stream
    switch (tag) {
      case PacTagFile: {
        if (!ReadName(cursor, name, packageName)) return false;
        if (cursor.Left() < PacFileFieldsSize) return Fail(Damaged(packageName));
        uint32_t fileSize = PacReadU32(data + cursor.pos + PacFileSizeOffset);
        cursor.pos += PacFileFieldsSize;
        if (fileSize > cursor.Left()) return Fail(Damaged(packageName));
        if (!WriteFile(name.c_str(), data + cursor.pos, fileSize))
          return Fail("Error writing file '" + name);
        cursor.pos += fileSize;
        break;
      }
      case PacTagEnterFolder:
        if (!ReadName(cursor, name, packageName)) return false;
        if (!EnterFolder(name)) return Fail("Error creating folder '" + name + "'");
        ++depth;
        break;
      case PacTagLeaveFolder:
        if (depth == 0 || !SetCurrentDirectoryA("..\\")) return Fail("Incorrect package folder structure");
        --depth;
        ++cursor.pos;  // the ignored byte
        break;
      default:
        return Fail("Incorrect package ID");
    }
  }
  return true;
}

bool CPackage::WriteFile(const char* name, const uint8_t* data, uint32_t size) {
  HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) {
    // Overwritten only if it is a plain file: a link planted under this name would redirect the
    // write outside the folder. (Checked only here: each lookup costs a folder scan under Wine.)
    DWORD attributes = GetFileAttributesA(name);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
    file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  if (file == INVALID_HANDLE_VALUE) return false;
  std::vector<uint8_t> chunk(coding == 1 ? ChunkSize : 0);
  bool ok = true;
  for (uint32_t done = 0; ok && done < size;) {
    DWORD count = size - done < ChunkSize ? size - done : ChunkSize;
    const uint8_t* bytes = data + done;
    if (coding == 1) {
      memcpy(chunk.data(), bytes, count);
      PacInvert(chunk.data(), count);
      bytes = chunk.data();
    }
    DWORD written = 0;
    ok = ::WriteFile(file, bytes, count, &written, nullptr) && written == count;
    done += count;
  }
  return CloseHandle(file) && ok;
}

bool CPackage::DeleteFolder(const char* folder) {
  std::string path = FullPath(folder);
  DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;

  // A link to a folder is removed itself; what it points to is never entered.
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    struct Entry {
      std::string path;
      bool folder;
    };
    std::vector<Entry> entries;  // listed first, deleted after the search is closed
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*.*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        if (strcmp(found.cFileName, ".") == 0 || strcmp(found.cFileName, "..") == 0) continue;
        bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entries.push_back({path + "\\" + found.cFileName, isFolder});
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    for (const Entry& entry : entries) {
      if (entry.folder)
        DeleteFolder(entry.path.c_str());
      else
        DeleteFileA(entry.path.c_str());
    }
  }
  RemoveDirectoryA(path.c_str());
  return true;
}

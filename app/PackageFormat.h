// Byte layout of the data package "Orvanta.pac", shared by the reader (CPackage, Windows) and the
// writer (tools/pack, a Linux host program); so no platform headers here.
//
//   offset 0  5 bytes  "PAC01"
//   offset 5  1 byte   coding: 'i' file data stored inverted (255 - b), 'n' stored plain
//   offset 6  records until the end of the file, each starting with a tag byte:
//     PacTagFile         name, 0x00, 1 ignored byte, u32 size (little-endian), 1 ignored byte, data
//     PacTagEnterFolder  name, 0x00
//     PacTagLeaveFolder  1 ignored byte
// Names are single path components relative to the current folder, in the Windows ANSI code page.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

constexpr char PacId[] = "PAC01";  // stored without its terminator
constexpr size_t PacIdSize = 5;
constexpr size_t PacHeaderSize = PacIdSize + 1;
constexpr uint8_t PacCodingInverted = 'i';
constexpr uint8_t PacCodingPlain = 'n';

enum PacTag : uint8_t { PacTagFile = 1, PacTagEnterFolder = 2, PacTagLeaveFolder = 3 };

constexpr size_t PacMaxNameLength = 255;  // bytes, without the terminator
// A file record after its name's terminator: ignored byte, u32 size, ignored byte, then the data.
constexpr size_t PacFileFieldsSize = 6;
constexpr size_t PacFileSizeOffset = 1;

inline uint32_t PacReadU32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline void PacWriteU32(uint8_t* p, uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(value >> (8 * i));
}

// Turns stored bytes into file bytes and back: the inverted coding is its own inverse.
inline void PacInvert(uint8_t* data, size_t size) {
  for (size_t i = 0; i < size; ++i) data[i] = uint8_t(~data[i]);
}

inline char PacUpper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

// Windows' reserved device names (CON, NUL, COM1...), which also apply with any extension and
// trailing spaces ("nul.txt", "CON .x"): opening them reaches a device, not a file in the folder.
inline bool PacIsDeviceName(const char* name, size_t length) {
  size_t base = 0;
  while (base < length && name[base] != '.') ++base;
  while (base > 0 && name[base - 1] == ' ') --base;
  char upper[5] = {};
  if (base < 3 || base > 4) return false;
  for (size_t i = 0; i < base; ++i) upper[i] = PacUpper(name[i]);
  static const char* const three[] = {"CON", "PRN", "AUX", "NUL"};
  if (base == 3) {
    for (const char* reserved : three)
      if (memcmp(upper, reserved, 3) == 0) return true;
    return false;
  }
  return (memcmp(upper, "COM", 3) == 0 || memcmp(upper, "LPT", 3) == 0) && upper[3] >= '1' &&
         upper[3] <= '9';
}

// True if `name` is one plain file or folder name that stays inside the current folder: 1 to 255
// bytes, not "." or "..", no path separator, drive colon, wildcard or control character, no trailing
// dot or space (Windows strips them, so "..." or "a." would name something else), no device name.
inline bool PacIsSafeName(const char* name, size_t length) {
  if (length == 0 || length > PacMaxNameLength) return false;
  for (size_t i = 0; i < length; ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (c < 0x20 || strchr("<>:\"/\\|?*", c) != nullptr) return false;
  }
  char last = name[length - 1];
  return last != '.' && last != ' ' && !PacIsDeviceName(name, length);
}

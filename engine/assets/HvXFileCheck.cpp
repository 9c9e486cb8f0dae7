#include "HvXFileCheck.h"
#include <cstdint>
#include <cstring>

namespace {
const size_t HeaderSize = 16;

bool IsSpace(char c) { return c == 0 || c == '\r' || c == '\n' || c == ' ' || c == '\t'; }
bool IsOperator(char c) { return c && strchr("{}[]()<>,;", c) != nullptr; }

// Names, numbers and keywords end at a space or an operator, strings at their closing quote (or at
// an operator, which makes them no string).
bool TextIsParsable(const char* d, size_t size) {
  for (size_t i = HeaderSize; i < size;) {
    const char c = d[i];
    if (c == '#' || (c == '/' && i + 1 < size && d[i + 1] == '/')) {
      while (i < size && d[i] != '\n') ++i;
    } else if (IsSpace(c) || IsOperator(c)) {
      ++i;
    } else {
      size_t end = i + 1;
      if (c == '"') {
        while (end < size && d[end] != '"' && !IsOperator(d[end])) ++end;
        if (end < size && d[end] == '"') {
          if (end - i - 1 > HvXMaxStringLength) return false;
          i = end + 1;
          continue;
        }
        end = i + 1;
      }
      while (end < size && !IsSpace(d[end]) && !IsOperator(d[end])) ++end;
      if (end - i > HvXMaxNameLength) return false;
      i = end;
    }
  }
  return true;
}

uint32_t Dword(const char* p) {
  uint32_t v;
  memcpy(&v, p, 4);
  return v;
}

bool BinaryIsParsable(const char* d, size_t size) {
  for (size_t i = HeaderSize; i < size;) {
    if (size - i < 2) return false;
    uint16_t token;
    memcpy(&token, d + i, 2);
    i += 2;
    const size_t left = size - i;
    switch (token) {
      case 1:  // name: count, bytes
      case 2:  // string: count, bytes, terminating token
        if (left < 4) return false;
        if (Dword(d + i) > (token == 1 ? HvXMaxNameLength : HvXMaxStringLength) ||
            Dword(d + i) + (token == 2 ? 2u : 0u) > left - 4)
          return false;
        i += 4 + Dword(d + i) + (token == 2 ? 2 : 0);
        break;
      case 3:  // integer
        if (left < 4) return false;
        i += 4;
        break;
      case 5:  // GUID
        if (left < 16) return false;
        i += 16;
        break;
      case 6:  // integer list: count, 4 bytes each
      case 7:  // float list: the parser takes 4 bytes per element whatever the float size
        if (left < 4 || Dword(d + i) > (left - 4) / 4) return false;
        i += 4 + size_t(Dword(d + i)) * 4;
        break;
      default:
        if (!((token >= 10 && token <= 20) || token == 31 || (token >= 40 && token <= 52))) return false;
    }
  }
  return true;
}
}  // namespace

bool HvXFileIsParsable(const char* data, size_t size) {
  if (size < HeaderSize || memcmp(data, "xof 030", 7) != 0 || (data[7] != '2' && data[7] != '3')) return false;
  const bool text = memcmp(data + 8, "txt ", 4) == 0;
  if (!text && memcmp(data + 8, "bin ", 4) != 0) return false;
  if (memcmp(data + 12, "0032", 4) != 0 && memcmp(data + 12, "0064", 4) != 0) return false;
  return text ? TextIsParsable(data, size) : BinaryIsParsable(data, size);
}

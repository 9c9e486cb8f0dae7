// Damaged and hostile models through the real .X loader (the DirectX File interfaces, the mesh
// builder, materials, textures, animation tracks) on the test device. The seeds are the show's
// generated models: the small ones whole, the large ones cut into excerpts of whole frames with their
// meshes and of animation tracks with the frames they move. Every seed also goes in binary form, so
// that both forms of the format meet the same damage; a seed that is binary already (a package
// written in binary) is mutated token by token as it is.
#include "Fuzz.h"
#include "RealDevice.h"
#include "engine/assets/HvTexture.h"
#include "engine/assets/HvXFileLoader.h"
#include "engine/render/HvNode.h"
#include "engine/render/HvTexturingProperty.h"
#include "tools/assetgen/XWriter.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <cstring>
#include <functional>

namespace {
const char TextHeader[] = "xof 0302txt 0032\n";
const char BinaryHeader[] = "xof 0303bin 0032";
const size_t HeaderSize = 16;

bool IsBinary(const std::string& bytes) { return bytes.compare(0, 11, "xof 0303bin") == 0 || bytes.compare(0, 11, "xof 0302bin") == 0; }

// ---- The text form: tokens with their place in the file -------------------------------------------
struct Token {
  size_t at, size;
  char kind;  // 'n' name, 's' string, 'i' integer, 'f' other number, or the punctuation itself
};

std::vector<Token> TextTokens(const std::string& t) {
  std::vector<Token> tokens;
  size_t i = std::min(t.size(), HeaderSize);
  while (i < t.size()) {
    const char c = t[i];
    if (isspace(uint8_t(c))) {
      ++i;
    } else if (c == '#' || (c == '/' && i + 1 < t.size() && t[i + 1] == '/')) {
      while (i < t.size() && t[i] != '\n') ++i;
    } else if (c == '"') {
      const size_t end = t.find('"', i + 1);
      const size_t size = (end == std::string::npos ? t.size() : end + 1) - i;
      tokens.push_back({i, size, 's'});
      i += size;
    } else if (strchr("{};,[]<>", c)) {
      tokens.push_back({i++, 1, c});
    } else {
      size_t end = i;
      while (end < t.size() && !isspace(uint8_t(t[end])) && !strchr("{};,[]<>\"", t[end])) ++end;
      const std::string word = t.substr(i, end - i);
      char kind = 'n';
      if (isdigit(uint8_t(c)) || c == '-' || c == '.' || c == '+')
        kind = word.find_first_of(".eE") == std::string::npos ? 'i' : 'f';
      tokens.push_back({i, end - i, kind});
      i = end;
    }
  }
  return tokens;
}

std::string TextOf(const std::string& t, const Token& k) { return t.substr(k.at, k.size); }

size_t Matching(const std::vector<Token>& tokens, size_t open) {
  int depth = 0;
  for (size_t i = open; i < tokens.size(); ++i) {
    if (tokens[i].kind == '{') ++depth;
    if (tokens[i].kind == '}' && --depth == 0) return i;
  }
  return tokens.size();
}

// ---- Excerpts of a large text model ----------------------------------------------------------------
struct Block {
  size_t first, last;  // token indices: the template name and the closing brace
};

std::vector<Block> Blocks(const std::string& t, const std::vector<Token>& tk, const char* templateName) {
  std::vector<Block> blocks;
  for (size_t i = 0; i + 2 < tk.size(); ++i) {
    if (tk[i].kind != 'n' || TextOf(t, tk[i]) != templateName) continue;
    const size_t open = tk[i + 1].kind == '{' ? i + 1 : tk[i + 2].kind == '{' ? i + 2 : 0;
    if (open) blocks.push_back({i, Matching(tk, open)});
  }
  return blocks;
}

std::string BlockText(const std::string& t, const std::vector<Token>& tk, const Block& b) {
  return b.last < tk.size() ? t.substr(tk[b.first].at, tk[b.last].at + 1 - tk[b.first].at) + "\n" : std::string();
}

// An animation with each key list cut to its first `keep` keys (time; count; values;;).
std::string TrimmedAnimation(const std::string& t, const std::vector<Token>& tk, const Block& a, size_t keep,
                             std::string& target) {
  std::string out = "Animation {\n";
  for (size_t i = a.first + 1; i < a.last; ++i) {
    if (tk[i].kind == '{' && i + 2 < a.last && tk[i + 1].kind == 'n' && tk[i + 2].kind == '}') {
      target = TextOf(t, tk[i + 1]);
      out += " { " + target + " }\n";
      i += 2;
    } else if (tk[i].kind == 'n' && TextOf(t, tk[i]) == "AnimationKey" && i + 5 < a.last) {
      // AnimationKey { type ; count ; keys }
      const std::string type = TextOf(t, tk[i + 2]);
      size_t k = i + 6, kept = 0;
      std::string keys;
      const size_t close = Matching(tk, i + 1);
      while (kept < keep && k + 4 < close) {
        const size_t start = k, values = size_t(atoi(TextOf(t, tk[k + 2]).c_str()));
        k += 4 + 2 * values + 1;  // time ; n ; values with separators ; the key's own ;
        if (k >= close) break;
        keys += (kept ? ",\n" : "") + t.substr(tk[start].at, tk[k].at - tk[start].at);
        ++kept;
        ++k;  // the separator between keys
      }
      out += " AnimationKey {\n " + type + ";\n " + std::to_string(kept) + ";\n " + keys + ";\n }\n";
      i = close;
    } else if (tk[i].kind == 'n' && TextOf(t, tk[i]) == "AnimationOptions") {
      const size_t close = Matching(tk, i + 1);
      out += " " + t.substr(tk[i].at, tk[close].at + 1 - tk[i].at) + "\n";
      i = close;
    }
  }
  return out + "}\n";
}

// Pieces of a real model small enough to load many times a second, each a valid model by itself:
// the smallest and the largest frame with a mesh under 16 KB, and the first animation tracks with
// the frames they move, their keys cut to a few.
std::vector<std::string> Excerpts(const std::string& model) {
  std::vector<std::string> excerpts;
  const std::vector<Token> tk = TextTokens(model);
  std::vector<std::string> meshFrames;
  for (const Block& b : Blocks(model, tk, "Frame")) {
    const std::string text = BlockText(model, tk, b);
    if (text.size() <= 16384 && text.find("Mesh ") != std::string::npos) meshFrames.push_back(text);
  }
  std::sort(meshFrames.begin(), meshFrames.end(),
            [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
  if (!meshFrames.empty()) excerpts.push_back(TextHeader + meshFrames.front());
  if (meshFrames.size() > 1) excerpts.push_back(TextHeader + meshFrames.back());

  const std::vector<Block> frames = Blocks(model, tk, "Frame");
  int tracks = 0;
  for (const Block& a : Blocks(model, tk, "Animation")) {
    std::string target;
    const std::string animation = TrimmedAnimation(model, tk, a, 4, target);
    for (const Block& f : frames) {
      if (f.first + 1 >= tk.size() || TextOf(model, tk[f.first + 1]) != target) continue;
      const std::string frame = BlockText(model, tk, f);
      if (frame.size() <= 16384) excerpts.push_back(TextHeader + frame + "AnimationSet Excerpt {\n" + animation + "}\n");
      ++tracks;
      break;
    }
    if (tracks == 2) break;
  }
  return excerpts;
}

// ---- The binary form ----------------------------------------------------------------------------------
enum BinaryToken : uint16_t {
  TokenName = 1, TokenString = 2, TokenInteger = 3, TokenGuid = 5, TokenIntegerList = 6, TokenFloatList = 7,
  TokenOpenBrace = 10, TokenCloseBrace = 11
};

void PutWord(std::string& s, uint16_t v) { s.append(reinterpret_cast<const char*>(&v), 2); }
void PutDword(std::string& s, uint32_t v) { s.append(reinterpret_cast<const char*>(&v), 4); }

// The tokens of a binary model: offset of each token's identifier and of its data. Stops at the
// first token it cannot walk over.
struct BinaryTok {
  size_t at;
  uint16_t id;
  size_t data, end;  // the token's data (after the identifier) and the first byte after the token
};

std::vector<BinaryTok> BinaryTokens(const std::string& b) {
  std::vector<BinaryTok> tokens;
  size_t i = HeaderSize;
  auto dword = [&](size_t at) {
    uint32_t v = 0;
    if (at + 4 <= b.size()) memcpy(&v, b.data() + at, 4);
    return v;
  };
  while (i + 2 <= b.size()) {
    uint16_t id;
    memcpy(&id, b.data() + i, 2);
    const size_t data = i + 2;
    size_t end = data;
    switch (id) {
      case TokenName: end = data + 4 + size_t(dword(data)); break;
      case TokenString: end = data + 4 + size_t(dword(data)) + 2; break;
      case TokenInteger: end = data + 4; break;
      case TokenGuid: end = data + 16; break;
      case TokenIntegerList:
      case TokenFloatList: end = data + 4 + 4 * size_t(dword(data)); break;
      default: break;
    }
    if (end > b.size()) break;
    tokens.push_back({i, id, data, end});
    i = end;
  }
  return tokens;
}

// Pieces of a large binary model: the smallest and the largest frame with a mesh under 16 KB.
std::vector<std::string> BinaryExcerpts(const std::string& model) {
  const std::vector<BinaryTok> tk = BinaryTokens(model);
  auto isName = [&](size_t i, const char* name) {
    return tk[i].id == TokenName && model.compare(tk[i].data + 4, tk[i].end - tk[i].data - 4, name) == 0;
  };
  std::vector<std::string> meshFrames;
  for (size_t i = 0; i < tk.size(); ++i) {
    if (!isName(i, "Frame")) continue;
    int depth = 0;
    bool mesh = false;
    for (size_t k = i + 1; k < tk.size(); ++k) {
      mesh = mesh || isName(k, "Mesh");
      if (tk[k].id == TokenOpenBrace) ++depth;
      if (tk[k].id != TokenCloseBrace || --depth > 0) continue;
      if (mesh && tk[k].end - tk[i].at <= 16384) meshFrames.push_back(model.substr(tk[i].at, tk[k].end - tk[i].at));
      break;
    }
  }
  std::sort(meshFrames.begin(), meshFrames.end(),
            [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
  std::vector<std::string> excerpts;
  if (!meshFrames.empty()) excerpts.push_back(model.substr(0, HeaderSize) + meshFrames.front());
  if (meshFrames.size() > 1) excerpts.push_back(model.substr(0, HeaderSize) + meshFrames.back());
  return excerpts;
}

// ---- Mutations ------------------------------------------------------------------------------------------
const char* const HostileNumbers[] = {"2000000000", "4294967295", "4294967296", "-1", "-2147483648", "65535",
                                      "65536", "99999999999999999999", "1e38", "-1e38", "1e999", "nan", "inf",
                                      "-inf", "1.#QNAN", "0x10", "--5", "1.2.3", "3e", ".", "-", "1e-45"};

std::string Replace(std::string& bytes, const Token& k, const std::string& with) {
  const std::string was = bytes.substr(k.at, k.size);
  bytes.replace(k.at, k.size, with);
  return "'" + was.substr(0, 24) + "' -> '" + with.substr(0, 24) + "'";
}

// One mutation of a text model; returns what it did.
std::string MutateText(std::string& bytes, FuzzRun& run) {
  const std::vector<Token> tk = TextTokens(bytes);
  if (tk.empty()) {
    FuzzFlipBytes(bytes, run, 1 + run.Below(4), "{};,\"-.09");
    return "flipped bytes";
  }
  auto pick = [&](const std::function<bool(size_t)>& fits) -> size_t {
    std::vector<size_t> found;
    for (size_t i = 0; i < tk.size(); ++i)
      if (fits(i)) found.push_back(i);
    return found.empty() ? tk.size() : found[run.Below(unsigned(found.size()))];
  };
  auto is = [&](size_t i, const char* word) { return i < tk.size() && tk[i].kind == 'n' && TextOf(bytes, tk[i]) == word; };
  switch (run.Below(10)) {
    case 0: {
      const unsigned flips = 1 + run.Below(4);
      FuzzFlipBytes(bytes, run, flips, "{};,\"-.09 \n");
      return std::to_string(flips) + " bytes flipped";
    }
    case 1: {  // cut at a structural point: before or after a brace or separator
      const size_t i = pick([&](size_t i) { return strchr("{};,", tk[i].kind) != nullptr; });
      if (i == tk.size()) break;
      const size_t at = tk[i].at + run.Below(2);
      bytes.resize(at);
      return "cut at byte " + std::to_string(at);
    }
    case 2: {
      const size_t a = run.Below(unsigned(tk.size())), b = run.Below(unsigned(tk.size()));
      if (a == b) break;
      const Token& first = tk[std::min(a, b)];
      const Token& second = tk[std::max(a, b)];
      const std::string x = TextOf(bytes, first), y = TextOf(bytes, second);
      bytes.replace(second.at, second.size, x);
      bytes.replace(first.at, first.size, y);
      return "swapped '" + x.substr(0, 24) + "' and '" + y.substr(0, 24) + "'";
    }
    case 3: {
      const size_t i = pick([&](size_t i) { return tk[i].kind == 'i' || tk[i].kind == 'f'; });
      if (i == tk.size()) break;
      return "number " + Replace(bytes, tk[i], HostileNumbers[run.Below(sizeof HostileNumbers / sizeof *HostileNumbers)]);
    }
    case 4: {  // a count (an integer before a ';') far larger, or a little larger, than the data
      const size_t i = pick([&](size_t i) { return tk[i].kind == 'i' && i + 1 < tk.size() && tk[i + 1].kind == ';'; });
      if (i == tk.size()) break;
      const long long was = atoll(TextOf(bytes, tk[i]).c_str());
      const std::string counts[] = {"2000000000", "4294967295", "1073741824", std::to_string(was + 1), std::to_string(was * 2 + 7)};
      return "count " + Replace(bytes, tk[i], counts[run.Below(5)]);
    }
    case 5: {  // an index (an integer before a ',') out of range
      const size_t i = pick([&](size_t i) { return tk[i].kind == 'i' && i + 1 < tk.size() && tk[i + 1].kind == ','; });
      if (i == tk.size()) break;
      const char* const indices[] = {"65535", "65536", "4294967295", "100000", "-1"};
      return "index " + Replace(bytes, tk[i], indices[run.Below(5)]);
    }
    case 6: {  // an animation key with a wrong number of values
      const size_t key = pick([&](size_t i) { return is(i, "AnimationKey"); });
      if (key == tk.size() || key + 8 >= tk.size()) break;
      // AnimationKey { type ; count ; time ; values ; ...
      const size_t i = key + 2 + 2 * run.Below(4);
      const char* const counts[] = {"0", "1", "2", "3", "4", "5", "15", "16", "17", "2000000000"};
      return "animation key " + Replace(bytes, tk[i], counts[run.Below(10)]);
    }
    case 7: {  // a reference to a frame that is not there, or a frame renamed from under its track
      const size_t i = pick([&](size_t i) {
        return tk[i].kind == 'n' && i > 0 && ((tk[i - 1].kind == '{' && i + 1 < tk.size() && tk[i + 1].kind == '}') || is(i - 1, "Frame"));
      });
      if (i == tk.size()) break;
      return "name " + Replace(bytes, tk[i], "Nowhere");
    }
    case 8: {  // a token dropped, or a whole object repeated
      const size_t i = run.Below(unsigned(tk.size()));
      if (tk[i].kind == '{' && run.Below(2)) {
        const size_t close = Matching(tk, i);
        if (close < tk.size()) {
          const size_t from = i > 0 && tk[i - 1].kind == 'n' ? tk[i - 1].at : tk[i].at;
          bytes.insert(tk[close].at + 1, bytes.substr(from, tk[close].at + 1 - from));
          return "object at byte " + std::to_string(from) + " repeated";
        }
      }
      const std::string was = TextOf(bytes, tk[i]);
      bytes.erase(tk[i].at, tk[i].size);
      return "token '" + was.substr(0, 24) + "' dropped";
    }
    case 9: {  // the data wrapped in nested frames
      const size_t depths[] = {50, 500, 5000, 30000};
      const size_t depth = depths[run.Below(4)];
      std::string open, close;
      for (size_t d = 0; d < depth; ++d) open += "Frame N" + std::to_string(d) + " {\n";
      close.assign(depth, '}');
      bytes = bytes.substr(0, HeaderSize) + "\n" + open + bytes.substr(std::min(bytes.size(), HeaderSize)) + close + "\n";
      return std::to_string(depth) + " nested frames";
    }
  }
  FuzzFlipBytes(bytes, run, 1, "");
  return "1 byte flipped";
}

std::string MutateBinary(std::string& bytes, FuzzRun& run) {
  const std::vector<BinaryTok> tk = BinaryTokens(bytes);
  auto pick = [&](const std::function<bool(const BinaryTok&)>& fits) -> const BinaryTok* {
    std::vector<const BinaryTok*> found;
    for (const BinaryTok& t : tk)
      if (fits(t)) found.push_back(&t);
    return found.empty() ? nullptr : found[run.Below(unsigned(found.size()))];
  };
  auto setDword = [&](size_t at, uint32_t v) { memcpy(&bytes[at], &v, 4); };
  switch (tk.empty() ? 0 : run.Below(8)) {
    case 0: {
      const unsigned flips = 1 + run.Below(4);
      FuzzFlipBytes(bytes, run, flips, std::string("\x00\x01\x02\x06\x07\x0A\x0B\xFF", 8));
      return std::to_string(flips) + " bytes flipped";
    }
    case 1: {  // cut at a token boundary, or inside a list between two elements
      const BinaryTok& t = tk[run.Below(unsigned(tk.size()))];
      size_t at = t.at;
      if ((t.id == TokenIntegerList || t.id == TokenFloatList) && t.end > t.data + 4 && run.Below(2))
        at = t.data + 4 + 4 * run.Below(unsigned((t.end - t.data - 4) / 4));
      bytes.resize(at);
      return "cut at byte " + std::to_string(at);
    }
    case 2: {  // a list that claims far more, or a few more, elements than follow
      const BinaryTok* t = pick([&](const BinaryTok& t) { return (t.id == TokenIntegerList || t.id == TokenFloatList); });
      if (!t) break;
      const uint32_t n = uint32_t((t->end - t->data - 4) / 4);
      const uint32_t counts[] = {2000000000u, 0xFFFFFFFFu, 0x40000000u, n + 1, 0};
      const uint32_t count = counts[run.Below(5)];
      setDword(t->data, count);
      return "list of " + std::to_string(n) + " claims " + std::to_string(count);
    }
    case 3: {  // a name or string longer than what follows, or longer than any name
      const BinaryTok* t = pick([](const BinaryTok& t) { return t.id == TokenName || t.id == TokenString; });
      if (!t) break;
      const uint32_t sizes[] = {0xFFFFFFFFu, 2000000000u, 300, 0};
      const uint32_t size = sizes[run.Below(4)];
      setDword(t->data, size);
      if (size == 300 && run.Below(2)) bytes.insert(t->data + 4, std::string(300, 'N'));
      return "name or string size " + std::to_string(size);
    }
    case 4: {  // a list element replaced: an index out of range, a huge or non-finite number
      const BinaryTok* t = pick([](const BinaryTok& t) { return (t.id == TokenIntegerList || t.id == TokenFloatList) && t.end > t.data + 4; });
      if (!t) break;
      const size_t at = t->data + 4 + 4 * run.Below(unsigned((t->end - t->data - 4) / 4));
      const uint32_t values[] = {0xFFFFFFFFu, 65535, 65536, 2000000000u, 0x7FC00000u /* NaN */, 0x7F800000u /* inf */,
                                 0xFF800000u, 0x7F7FFFFFu};
      const uint32_t v = values[run.Below(8)];
      setDword(at, v);
      return "list element at byte " + std::to_string(at) + " -> " + std::to_string(v);
    }
    case 5: {  // two tokens swapped
      const size_t a = run.Below(unsigned(tk.size())), b = run.Below(unsigned(tk.size()));
      if (a == b) break;
      const BinaryTok& x = tk[std::min(a, b)];
      const BinaryTok& y = tk[std::max(a, b)];
      const std::string first = bytes.substr(x.at, x.end - x.at), second = bytes.substr(y.at, y.end - y.at);
      bytes.replace(y.at, y.end - y.at, first);
      bytes.replace(x.at, x.end - x.at, second);
      return "tokens at bytes " + std::to_string(x.at) + " and " + std::to_string(y.at) + " swapped";
    }
    case 6: {  // a token dropped, or its identifier changed
      const BinaryTok& t = tk[run.Below(unsigned(tk.size()))];
      if (run.Below(2)) {
        bytes.erase(t.at, t.end - t.at);
        return "token at byte " + std::to_string(t.at) + " dropped";
      }
      const uint16_t id = uint16_t(run.Below(60));
      memcpy(&bytes[t.at], &id, 2);
      return "token at byte " + std::to_string(t.at) + " made " + std::to_string(id);
    }
    case 7: {  // the data wrapped in nested frames
      const size_t depths[] = {50, 500, 5000, 30000};
      const size_t depth = depths[run.Below(4)];
      std::string open, close;
      for (size_t d = 0; d < depth; ++d) {
        PutWord(open, TokenName);
        PutDword(open, 5);
        open += "Frame";
        PutWord(open, TokenOpenBrace);
        PutWord(close, TokenCloseBrace);
      }
      bytes = bytes.substr(0, HeaderSize) + open + bytes.substr(std::min(bytes.size(), HeaderSize)) + close;
      return std::to_string(depth) + " nested frames";
    }
  }
  FuzzFlipBytes(bytes, run, 1, "");
  return "1 byte flipped";
}

// ---- The test -------------------------------------------------------------------------------------------
struct Seed {
  std::string name;    // for messages
  std::string folder;  // the model's folder: the textures it names are there
  std::string bytes;
};

std::string FullPath(const std::string& path) {
  char full[MAX_PATH];
  GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  return full;
}
// The package's data (binary models) and the same data with text models.
std::string DataFolder(const char* sub) { return FullPath(std::string(ORVANTA_TEST_DATA) + "\\" + sub); }
std::string TextDataFolder(const char* sub) { return FullPath(std::string(ORVANTA_TEST_TEXT_DATA) + "\\" + sub); }

class XFileFuzzTest : public ::testing::Test {
protected:
  void SetUp() override {
    REQUIRE_REAL_DEVICE();
    GetCurrentDirectoryA(MAX_PATH, savedDirectory);
    SettlePools();
  }
  void TearDown() override {
    textures.clear();
    if (savedDirectory[0]) SetCurrentDirectoryA(savedDirectory);
    SettlePools();
  }

  static HvObjectPool* Pool(uint32_t index) { return HvCore::GetInstance()->GetPool(index); }
  static void Sweep() {
    for (uint32_t p : {HvPoolGeometry, HvPoolNode, HvPoolTexture}) Pool(p)->Update();
  }
  size_t PoolTotal() {
    size_t total = 0;
    for (uint32_t p : {HvPoolGeometry, HvPoolNode, HvPoolTexture}) total += Pool(p)->GetCount();
    return total;
  }
  // Sweeps until nothing more leaves (a loaded tree leaves one level per sweep), and takes the counts.
  void SettlePools() {
    size_t last;
    do {
      last = PoolTotal();
      Sweep();
    } while (PoolTotal() != last);
    for (uint32_t p : {HvPoolGeometry, HvPoolNode, HvPoolTexture}) before[p] = Pool(p)->GetCount();
  }

  // The show's models as seeds; textures they name are loaded once and held, so that the cases do
  // not load them again and again.
  std::vector<Seed> Seeds() {
    std::vector<Seed> seeds;
    const struct {
      const char *folder, *file;
    } models[] = {{"Tunnel", "Light.X"}, {"Tunnel", "tunnel.X"}, {"Station", "Station.x"}, {"Room", "Room.x"}, {"Star", "Star.x"}};
    for (const auto& m : models) {
      // The text form, also converted here, and the binary form as the package holds it.
      std::string folder, bytes;
      for (const bool packed : {false, true}) {
        folder = packed ? DataFolder(m.folder) : TextDataFolder(m.folder);
        bytes = FuzzReadFile(folder + "\\" + m.file);
        EXPECT_FALSE(bytes.empty()) << m.file;
        std::vector<std::string> pieces;
        if (bytes.size() <= 16384) pieces.push_back(bytes);
        else pieces = IsBinary(bytes) ? BinaryExcerpts(bytes) : Excerpts(bytes);
        for (size_t i = 0; i < pieces.size(); ++i) {
          const std::string name = std::string(m.file) + (bytes.size() <= 16384 ? "" : " excerpt " + std::to_string(i));
          seeds.push_back({name + (packed ? " as packed" : ""), folder, pieces[i]});
          if (!IsBinary(pieces[i])) seeds.push_back({name + " in binary", folder, XWriter::BinaryForm(pieces[i])});
        }
      }
      SetCurrentDirectoryA(folder.c_str());
      std::vector<std::string> names;
      if (IsBinary(bytes)) {
        for (const BinaryTok& k : BinaryTokens(bytes))
          if (k.id == TokenString) names.push_back(bytes.substr(k.data + 4, k.end - k.data - 6));
      } else {
        for (const Token& k : TextTokens(bytes))
          if (k.kind == 's' && k.size > 2) names.push_back(bytes.substr(k.at + 1, k.size - 2));
      }
      for (const std::string& texture : names)
        if (HvTexture* t = HvTexture::CreateTextureFromFile(texture, D3DX_DEFAULT)) textures.push_back(t);
    }
    return seeds;
  }

  // Loads `bytes` as a model from the seed's folder: it loads without a message, or fails with exactly
  // one; either way the pools hold no more than before once swept.
  void Check(const Seed& seed, const std::string& bytes, FuzzRun* run, const std::string& label) {
    SetCurrentDirectoryA(seed.folder.c_str());
    const std::string file = TestFolder() + "fuzz.x";
    ASSERT_TRUE(FuzzWriteFile(file, bytes));
    HvNode* root = nullptr;
    int messages = 0;
    const std::string log = FuzzCapture([&] { root = LoadXFile(file); }, messages);
    if (root) {
      ASSERT_EQ(messages, 0) << label << ": " << log;
      if (run) run->Loaded();
      SettlePoolsAndCompare(label);
      return;
    }
    ASSERT_EQ(messages, 1) << label << ": " << log;
    ASSERT_TRUE(log.find("'" + file + "'") != std::string::npos || log.find("Error loadind texture") != std::string::npos)
        << label << ": " << log;
    Sweep();
    for (uint32_t p : {HvPoolGeometry, HvPoolNode, HvPoolTexture})
      ASSERT_EQ(Pool(p)->GetCount(), before[p]) << label << ": pool " << p << " after the sweep";
  }

  void SettlePoolsAndCompare(const std::string& label) {
    size_t last, sweeps = 0;
    do {
      last = PoolTotal();
      Sweep();
      ++sweeps;
    } while (PoolTotal() != last && sweeps < 1000);
    for (uint32_t p : {HvPoolGeometry, HvPoolNode, HvPoolTexture})
      ASSERT_EQ(Pool(p)->GetCount(), before[p]) << label << ": pool " << p;
  }

  char savedDirectory[MAX_PATH] = {};
  size_t before[HvPoolCount] = {};
  std::vector<HvRef<HvTexture>> textures;
};
}  // namespace

// Each seed loads as it is, in both forms; then thousands of damaged copies load or fail cleanly.
TEST_F(XFileFuzzTest, DamagedModelsLoadOrFailWithOneMessage) {
  const std::vector<Seed> seeds = Seeds();
  SettlePools();
  ASSERT_GE(seeds.size(), 10u);
  for (const Seed& seed : seeds) {
    SetCurrentDirectoryA(seed.folder.c_str());
    const std::string file = TestFolder() + "seed.x";
    ASSERT_TRUE(FuzzWriteFile(file, seed.bytes));
    int messages = 0;
    HvNode* root = nullptr;
    const std::string log = FuzzCapture([&] { root = LoadXFile(file); }, messages);
    ASSERT_TRUE(root) << seed.name << ": " << log;
    ASSERT_EQ(messages, 0) << seed.name << ": " << log;
    SettlePoolsAndCompare(seed.name);
  }

  FuzzRun run("models", 30);
  while (run.Next()) {
    const Seed& seed = seeds[run.Below(unsigned(seeds.size()))];
    std::string bytes = seed.bytes;
    std::string what;
    for (unsigned n = 1 + (run.Below(4) == 0 ? run.Below(3) : 0); n > 0; --n)
      what += (what.empty() ? "" : ", ") + (IsBinary(bytes) ? MutateBinary(bytes, run) : MutateText(bytes, run));
    run.Describe(seed.name + ": " + what);
    Check(seed, bytes, &run, run.Where());
    if (HasFatalFailure()) return;
  }
}

// Faults the fuzzing found, each kept as a case of its own. A model that fails must fail with its one
// message; afterwards the real flare model still loads in both forms.
TEST_F(XFileFuzzTest, NamesStringsListsAndCountsThatWouldOverrunAreRefused) {
  const Seed light{"Light.X", TextDataFolder("Tunnel"), FuzzReadFile(TextDataFolder("Tunnel") + "\\Light.X")};
  ASSERT_NE(light.bytes.find("\"tun_flare.tga\""), std::string::npos);
  auto replaced = [](std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
  };
  std::string binaryName = XWriter::BinaryForm(std::string(TextHeader) + "Frame Short { }\n");
  binaryName.replace(binaryName.find("Short") - 4, 9, std::string("\xC8\0\0\0", 4) + std::string(200, 'N'));
  std::string binaryList = XWriter::BinaryForm(light.bytes);
  const size_t list = binaryList.find(std::string("\x07\0\x10\0\0\0", 6));  // the frame matrix: 16 floats
  ASSERT_NE(list, std::string::npos);
  binaryList.replace(list + 2, 4, std::string("\0\x94\x35\x77", 4));  // 2,000,000,000 floats
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"a name longer than the parser holds", TextHeader + std::string("Frame ") + std::string(40, 'N') + " { }\n"},
      {"a name of 600 letters", TextHeader + std::string("Frame ") + std::string(600, 'N') + " { }\n"},
      {"a texture name of 150 letters", replaced(light.bytes, "tun_flare.tga", std::string(146, 't') + ".tga")},
      {"a binary name of 200 bytes", binaryName},
      {"a binary list of 2,000,000,000 floats", binaryList},
      {"a compressed file", std::string("xof 0303tzip0032") + std::string("\xFF\xFF\xFF\x7F\x10\x00\x08\x00", 8) + "garbage!"},
      {"2,139,095,039 materials", replaced(light.bytes, "MeshMaterialList {\n   1;", "MeshMaterialList {\n   2139095039;")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string file = TestFolder() + "fuzz.x";
    ASSERT_TRUE(FuzzWriteFile(file, c.bytes));
    SetCurrentDirectoryA(light.folder.c_str());
    int messages = 0;
    HvNode* root = nullptr;
    const std::string log = FuzzCapture([&] { root = LoadXFile(file); }, messages);
    EXPECT_EQ(root, nullptr);
    EXPECT_EQ(messages, 1) << log;
    EXPECT_TRUE(log.find("Error parsing file '" + file + "'") != std::string::npos ||
                log.find("Invalid data in file '" + file + "'") != std::string::npos)
        << log;
    Sweep();
  }
  Check(light, light.bytes, nullptr, "the flare model");
  Check(light, XWriter::BinaryForm(light.bytes), nullptr, "the flare model in binary");
  EXPECT_EQ(Pool(HvPoolNode)->GetCount(), before[HvPoolNode]);
}

// Frames nested deeper than the loader takes are refused with their message: deep enough to exhaust
// the stack of the code that walks node trees, or the parser's table of nested objects.
TEST_F(XFileFuzzTest, FramesNestedTooDeepAreRefused) {
  auto nested = [](size_t depth) {
    std::string open, close(depth, '}');
    for (size_t d = 0; d < depth; ++d) open += "Frame N" + std::to_string(d) + " {\n";
    return TextHeader + open + close + "\n";
  };
  const Seed seed{"nested", TestFolder(), ""};
  for (size_t depth : {size_t(64), size_t(65), size_t(400), size_t(30000)}) {
    SCOPED_TRACE(depth);
    const std::string file = TestFolder() + "nested.x";
    ASSERT_TRUE(FuzzWriteFile(file, nested(depth)));
    int messages = 0;
    HvNode* root = nullptr;
    const std::string log = FuzzCapture([&] { root = LoadXFile(file); }, messages);
    EXPECT_EQ(root != nullptr, depth <= 64) << log;
    EXPECT_EQ(messages, depth <= 64 ? 0 : 1) << log;
    SettlePoolsAndCompare("nested frames");
  }
}

#include "XText.h"

#include <cctype>
#include <cstring>
#include <map>

namespace {

// Reads the binary token form into the words of the text form: names, "strings", "{", "}", DWORDs
// as plain numbers and FLOATs always with a decimal point; separators carry no meaning.
bool BinaryWords(const std::string& d, size_t pos, std::vector<std::string>& words, std::string& error) {
  auto take = [&](void* to, size_t n) {
    if (d.size() - pos < n) return false;
    std::memcpy(to, &d[pos], n);
    pos += n;
    return true;
  };
  while (pos < d.size()) {
    uint16_t token = 0;
    uint32_t count = 0;
    const size_t at = pos;
    bool ok = take(&token, 2);
    if (ok && (token == 1 || token == 2 || token == 6 || token == 7)) ok = take(&count, 4);
    // Records whose count runs past the end of the file.
    if (ok && (token == 1 || token == 2)) ok = d.size() - pos >= count;
    if (ok && (token == 6 || token == 7)) ok = (d.size() - pos) / 4 >= count;
    if (ok && (token == 1 || token == 2)) {  // name, string (closed by a separator token)
      words.push_back(token == 1 ? d.substr(pos, count) : '"' + d.substr(pos, count) + '"');
      pos += count;
      uint16_t separator = 0;
      if (token == 2 && !(take(&separator, 2) && (separator == 19 || separator == 20))) {
        error = "string without its separator at byte " + std::to_string(at);
        return false;
      }
    } else if (ok && (token == 6 || token == 7)) {  // integer list, float list
      for (uint32_t i = 0; i < count; ++i) {
        uint32_t v;
        take(&v, 4);
        char text[48];
        if (token == 6) {
          std::snprintf(text, sizeof text, "%u", v);
        } else {
          float f;
          std::memcpy(&f, &v, 4);
          std::snprintf(text, sizeof text, "%.9g", f);  // enough digits to give the same float back
          if (!std::strpbrk(text, ".en")) std::strcat(text, ".0");
        }
        words.push_back(text);
      }
    } else if (ok && (token == 10 || token == 11)) {
      words.push_back(token == 10 ? "{" : "}");
    } else if (!ok || (token != 19 && token != 20)) {
      error = ok ? "unexpected token " + std::to_string(token) : "file ends inside a token";
      error += " at byte " + std::to_string(at);
      return false;
    }
  }
  return true;
}

class Reader {
 public:
  explicit Reader(std::vector<std::string> words) : tokens_(std::move(words)) {}
  explicit Reader(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
      char c = text[i];
      if (std::isspace(static_cast<unsigned char>(c)) || c == ';' || c == ',') {
        ++i;  // separators carry no meaning for these templates
      } else if (c == '{' || c == '}') {
        tokens_.emplace_back(1, c);
        ++i;
      } else if (c == '"') {
        size_t end = text.find('"', i + 1);
        if (end == std::string::npos) end = text.size();
        tokens_.push_back(text.substr(i, end - i + 1));
        i = end + 1;
      } else {
        size_t j = i;
        while (j < text.size() && !std::isspace(static_cast<unsigned char>(text[j])) && text[j] != ';' &&
               text[j] != ',' && text[j] != '{' && text[j] != '}')
          ++j;
        tokens_.push_back(text.substr(i, j - i));
        i = j;
      }
    }
  }

  bool Done() const { return pos_ >= tokens_.size(); }
  const std::string& Peek() const {
    static const std::string end;
    return Done() ? end : tokens_[pos_];
  }
  std::string Next() { return Done() ? std::string() : tokens_[pos_++]; }
  bool Fail(const std::string& what) {
    if (error.empty()) error = what + " at token " + std::to_string(pos_) + " ('" + Peek() + "')";
    return false;
  }
  bool Dword(XObject& o) {
    std::string t = Next();
    if (t.empty() || t.find_first_not_of("0123456789") != std::string::npos) return Fail("DWORD expected");
    o.dwords.push_back(uint32_t(std::stoul(t)));
    return true;
  }
  bool Float(XObject& o) {
    std::string t = Next();
    char* end = nullptr;
    float v = std::strtof(t.c_str(), &end);
    if (t.empty() || *end || t.find('.') == std::string::npos) return Fail("FLOAT with a decimal point expected");
    o.floats.push_back(v);
    return true;
  }
  bool Floats(XObject& o, size_t n) {
    for (size_t i = 0; i < n; ++i)
      if (!Float(o)) return false;
    return true;
  }
  uint32_t Last(const XObject& o) const { return o.dwords.empty() ? 0 : o.dwords.back(); }

  std::string error;

 private:
  std::vector<std::string> tokens_;
  size_t pos_ = 0;
};

// Members of each template, read before its child objects.
bool Members(Reader& r, XObject& o) {
  const std::string& t = o.type;
  if (t == "Frame" || t == "AnimationSet" || t == "Animation") return true;
  if (t == "FrameTransformMatrix") return r.Floats(o, 16);
  if (t == "Mesh" || t == "MeshNormals") {
    if (!r.Dword(o)) return false;
    if (!r.Floats(o, size_t(r.Last(o)) * 3) || !r.Dword(o)) return false;
    for (uint32_t f = 0, n = r.Last(o); f < n; ++f) {
      if (!r.Dword(o)) return false;
      for (uint32_t k = 0, c = r.Last(o); k < c; ++k)
        if (!r.Dword(o)) return false;
    }
    return true;
  }
  if (t == "MeshTextureCoords") return r.Dword(o) && r.Floats(o, size_t(r.Last(o)) * 2);
  if (t == "MeshVertexColors") {
    if (!r.Dword(o)) return false;
    for (uint32_t i = 0, n = r.Last(o); i < n; ++i)
      if (!r.Dword(o) || !r.Floats(o, 4)) return false;
    return true;
  }
  if (t == "MeshMaterialList") {
    if (!r.Dword(o) || !r.Dword(o)) return false;
    for (uint32_t i = 0, n = r.Last(o); i < n; ++i)
      if (!r.Dword(o)) return false;
    return true;
  }
  if (t == "Material") return r.Floats(o, 4 + 1 + 3 + 3);
  if (t == "TextureFilename") {
    std::string s = r.Next();
    if (s.size() < 2 || s.front() != '"' || s.back() != '"') return r.Fail("string expected");
    o.text = s.substr(1, s.size() - 2);
    return true;
  }
  if (t == "AnimationKey") {
    if (!r.Dword(o) || !r.Dword(o)) return false;
    for (uint32_t i = 0, n = r.Last(o); i < n; ++i) {
      if (!r.Dword(o) || !r.Dword(o) || !r.Floats(o, r.Last(o))) return false;
    }
    return true;
  }
  if (t == "AnimationOptions") return r.Dword(o) && r.Dword(o);
  return r.Fail("unknown template " + t);
}

bool Object(Reader& r, XObject& o);

bool Body(Reader& r, XObject& o) {
  if (r.Next() != "{") return r.Fail("'{' expected");
  if (!Members(r, o)) return false;
  while (r.Peek() != "}") {
    if (r.Done()) return r.Fail("'}' missing");
    auto child = std::make_unique<XObject>();
    if (!Object(r, *child)) return false;
    o.children.push_back(std::move(child));
  }
  r.Next();
  return true;
}

bool Object(Reader& r, XObject& o) {
  if (r.Peek() == "{") {  // reference {Name}
    r.Next();
    o.type = "ref";
    o.name = r.Next();
    return r.Next() == "}" || r.Fail("'}' after reference expected");
  }
  o.type = r.Next();
  if (r.Peek() != "{") o.name = r.Next();
  return Body(r, o);
}

void ReadObjects(Reader& r, XFile& file) {
  while (!r.Done()) {
    auto o = std::make_unique<XObject>();
    if (!Object(r, *o)) break;
    file.objects.push_back(std::move(o));
  }
  file.error = r.error;
}

const char kTextHeader[] = "xof 0302txt 0032", kBinaryHeader[] = "xof 0303bin 0032";

}  // namespace

XFile ReadXText(const std::string& text) {
  XFile file;
  if (text.compare(0, sizeof kTextHeader - 1, kTextHeader) != 0) {
    file.error = std::string("header is not '") + kTextHeader + "'";
    return file;
  }
  Reader r(text.substr(sizeof kTextHeader - 1));
  ReadObjects(r, file);
  return file;
}

XFile ReadXBinary(const std::string& data) {
  XFile file;
  std::vector<std::string> words;
  if (data.compare(0, sizeof kBinaryHeader - 1, kBinaryHeader) != 0) {
    file.error = std::string("header is not '") + kBinaryHeader + "'";
  } else if (BinaryWords(data, sizeof kBinaryHeader - 1, words, file.error)) {
    Reader r(std::move(words));
    ReadObjects(r, file);
  }
  return file;
}

XFile ReadX(const std::string& data) {
  return data.compare(0, sizeof kBinaryHeader - 1, kBinaryHeader) == 0 ? ReadXBinary(data) : ReadXText(data);
}

bool DecodeMesh(const XObject& mesh, XMesh& out, std::string& error) {
  auto faces = [&](const XObject& o, size_t first, std::vector<uint32_t>& dst) {
    for (size_t i = first + 1; i < o.dwords.size(); i += 4) {
      if (o.dwords[i] != 3) return false;  // triangles only
      dst.insert(dst.end(), o.dwords.begin() + i + 1, o.dwords.begin() + i + 4);
    }
    return true;
  };
  out.positions = mesh.floats;
  if (!faces(mesh, 1, out.faces)) return (error = "non-triangle face"), false;
  for (const auto& c : mesh.children) {
    if (c->type == "MeshNormals") {
      out.normals = c->floats;
      if (!faces(*c, 1, out.normalFaces)) return (error = "non-triangle normal face"), false;
    } else if (c->type == "MeshTextureCoords") {
      out.uvs = c->floats;
    } else if (c->type == "MeshVertexColors") {
      out.colors = c->dwords.empty() ? 0 : c->dwords[0];
    } else if (c->type == "MeshMaterialList") {
      for (const auto& m : c->children) out.materials.push_back(m.get());
    }
  }
  const size_t n = out.positions.size() / 3;
  if (out.normals.size() != n * 3 || out.uvs.size() != n * 2) return (error = "normals or UVs missing"), false;
  if (out.normalFaces != out.faces) return (error = "normal faces differ from faces"), false;
  for (uint32_t i : out.faces)
    if (i >= n) return (error = "face index out of range"), false;
  return true;
}

#include "XWriter.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kTextHeader[] = "xof 0302txt 0032\n";

// Tokens of the binary form: little-endian WORDs, the record-bearing ones followed by their data.
enum Token : uint16_t {
  kName = 1, kString = 2, kIntegerList = 6, kFloatList = 7,
  kOpenBrace = 10, kCloseBrace = 11, kSemicolon = 20,
};

class BinaryOut {
 public:
  void Word(uint16_t v) { Put(&v, 2); }
  void Dword(uint32_t v) { Put(&v, 4); }
  void Put(const void* p, size_t n) { out.append(static_cast<const char*>(p), n); }
  void Chars(uint16_t token, const std::string& s) {
    Word(token);
    Dword(uint32_t(s.size()));
    out += s;
  }
  // Numbers come in runs of one kind; each run is one list record.
  void Number(bool isFloat, const std::string& s) {
    if (listCount_ == 0 || listFloat_ != isFloat) {
      EndList();
      listFloat_ = isFloat;
      listStart_ = out.size();
      Word(isFloat ? kFloatList : kIntegerList);
      Dword(0);
    }
    ++listCount_;
    if (isFloat) {
      const float f = std::strtof(s.c_str(), nullptr);
      Put(&f, 4);
    } else {
      Dword(uint32_t(std::strtoul(s.c_str(), nullptr, 10)));
    }
  }
  void EndList() {
    if (listCount_ == 0) return;
    std::memcpy(&out[listStart_ + 2], &listCount_, 4);
    listCount_ = 0;
  }

  std::string out;

 private:
  size_t listStart_ = 0;
  uint32_t listCount_ = 0;
  bool listFloat_ = false;
};

bool IsNumber(const std::string& s) {
  size_t i = s[0] == '-' ? 1 : 0, digits = 0, dots = 0;
  for (; i < s.size(); ++i) {
    if (std::isdigit(static_cast<unsigned char>(s[i]))) ++digits;
    else if (s[i] == '.' && dots++ == 0) continue;
    else return false;
  }
  return digits > 0;
}

}  // namespace

XWriter::Form XWriter::defaultForm_ = XWriter::Form::Binary;

XWriter::XWriter() { text_ = kTextHeader; }

// The text is this writer's own: separators ';' and ',' only end values (the binary form needs none but
// the one that closes a string), '{' '}' nest, "..." is a string, a number with a point is a FLOAT, one
// without a DWORD, any other word a name.
std::string XWriter::BinaryForm(const std::string& t) {
  BinaryOut b;
  b.out = "xof 0303bin 0032";
  for (size_t i = sizeof kTextHeader - 1; i < t.size();) {
    const char c = t[i];
    if (std::isspace(static_cast<unsigned char>(c)) || c == ';' || c == ',') {
      ++i;
    } else if (c == '{' || c == '}') {
      b.EndList();
      b.Word(c == '{' ? kOpenBrace : kCloseBrace);
      ++i;
    } else if (c == '"') {
      const size_t end = std::min(t.find('"', i + 1), t.size());
      b.EndList();
      b.Chars(kString, t.substr(i + 1, end - i - 1));
      b.Word(kSemicolon);
      i = end + 1;
    } else {
      size_t j = i;
      while (j < t.size() && !std::isspace(static_cast<unsigned char>(t[j])) && !std::strchr(";,{}\"", t[j])) ++j;
      const std::string word = t.substr(i, j - i);
      if (IsNumber(word)) {
        b.Number(word.find('.') != std::string::npos, word);
      } else {
        b.EndList();
        b.Chars(kName, word);
      }
      i = j;
    }
  }
  b.EndList();
  return b.out;
}

std::string XWriter::F(float v) {
  char buf[48];
  if (!std::isfinite(v)) v = 0;
  std::snprintf(buf, sizeof buf, "%.6f", v);
  return buf;
}

bool XWriter::IsValidName(const std::string& name) {
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
  for (char c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-') return false;
  return true;
}

bool XWriter::Claim(const std::string& name) {
  if (!IsValidName(name) || !names_.insert(name).second) {
    ok_ = false;
    return false;
  }
  return true;
}

void XWriter::Line(const std::string& s) {
  text_.append(indent_ * 1, ' ');
  text_ += s;
  text_ += '\n';
}

void XWriter::Open(const std::string& header) {
  Line(header + " {");
  ++indent_;
}

void XWriter::Close() {
  --indent_;
  Line("}");
}

void XWriter::BeginFrame(const std::string& name, const Mat4& t) {
  Claim(name);
  ++depth_;
  Open("Frame " + name);
  Open("FrameTransformMatrix");
  std::string row;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) row += F(t.m[r][c]) + (r == 3 && c == 3 ? ";;" : ",");
  Line(row);
  Close();
}

void XWriter::EndFrame() {
  if (depth_ == 0) {
    ok_ = false;
    return;
  }
  --depth_;
  Close();
}

void XWriter::WriteMesh(const Mesh& mesh) {
  const size_t n = mesh.positions.size();
  bool good = n > 0 && n <= 65535 && mesh.normals.size() == n && mesh.uvs.size() == n &&
              (mesh.colors.empty() || mesh.colors.size() == n) && !mesh.triangles.empty();
  for (const auto& t : mesh.triangles)
    for (uint32_t i : t) good = good && i < n;
  if (!good || !Claim(mesh.name)) {
    ok_ = false;
    return;
  }
  const size_t m = mesh.triangles.size();
  auto sep = [](size_t i, size_t count) { return i + 1 == count ? ";" : ","; };
  auto faces = [&] {
    Line(std::to_string(m) + ";");
    for (size_t i = 0; i < m; ++i) {
      const auto& t = mesh.triangles[i];
      Line("3;" + std::to_string(t[0]) + "," + std::to_string(t[1]) + "," + std::to_string(t[2]) + ";" +
           sep(i, m));
    }
  };
  Open("Mesh " + mesh.name);
  Line(std::to_string(n) + ";");
  for (size_t i = 0; i < n; ++i) {
    const Vec3& p = mesh.positions[i];
    Line(F(p.x) + ";" + F(p.y) + ";" + F(p.z) + ";" + sep(i, n));
  }
  faces();

  Open("MeshNormals");
  Line(std::to_string(n) + ";");
  for (size_t i = 0; i < n; ++i) {
    const Vec3& v = mesh.normals[i];
    Line(F(v.x) + ";" + F(v.y) + ";" + F(v.z) + ";" + sep(i, n));
  }
  faces();
  Close();

  Open("MeshTextureCoords");
  Line(std::to_string(n) + ";");
  for (size_t i = 0; i < n; ++i) Line(F(mesh.uvs[i].x) + ";" + F(mesh.uvs[i].y) + ";" + sep(i, n));
  Close();

  if (!mesh.colors.empty()) {
    Open("MeshVertexColors");
    Line(std::to_string(n) + ";");
    for (size_t i = 0; i < n; ++i) {
      const Color4& c = mesh.colors[i];
      Line(std::to_string(i) + ";" + F(c.r) + ";" + F(c.g) + ";" + F(c.b) + ";" + F(c.a) + ";;" + sep(i, n));
    }
    Close();
  }

  Open("MeshMaterialList");
  Line("1;");
  Line(std::to_string(m) + ";");
  std::string ids;  // material index per face, 32 to a line
  for (size_t i = 0; i < m; ++i) {
    ids += i + 1 == m ? "0;" : "0,";
    if (ids.size() >= 64 || i + 1 == m) {
      Line(ids);
      ids.clear();
    }
  }
  const Material& mat = mesh.material;
  Open("Material");
  Line(F(mat.diffuse.r) + ";" + F(mat.diffuse.g) + ";" + F(mat.diffuse.b) + ";" + F(mat.diffuse.a) + ";;");
  Line(F(mat.power) + ";");
  Line(F(mat.specular.x) + ";" + F(mat.specular.y) + ";" + F(mat.specular.z) + ";;");
  Line(F(mat.emissive.x) + ";" + F(mat.emissive.y) + ";" + F(mat.emissive.z) + ";;");
  if (!mat.texture.empty()) {
    Open("TextureFilename");
    Line("\"" + mat.texture + "\";");
    Close();
  }
  Close();
  Close();
  Close();
}

void XWriter::BeginAnimationSet(const std::string& name) {
  if (inAnimationSet_) ok_ = false;
  Claim(name);
  inAnimationSet_ = true;
  Open("AnimationSet " + name);
}

void XWriter::WriteTrack(const std::string& frame, int keyType, const std::vector<uint32_t>& ticks,
                         const std::vector<std::vector<float>>& values) {
  if (!inAnimationSet_ || ticks.empty() || !names_.count(frame)) ok_ = false;
  Open("Animation");
  Line("{" + frame + "}");
  Open("AnimationKey");
  Line(std::to_string(keyType) + ";");
  Line(std::to_string(ticks.size()) + ";");
  for (size_t i = 0; i < ticks.size(); ++i) {
    if (i > 0 && ticks[i] <= ticks[i - 1]) ok_ = false;
    std::string s = std::to_string(ticks[i]) + ";" + std::to_string(values[i].size()) + ";";
    for (size_t k = 0; k < values[i].size(); ++k) s += F(values[i][k]) + (k + 1 == values[i].size() ? ";;" : ",");
    Line(s + (i + 1 == ticks.size() ? ";" : ","));
  }
  Close();
  Close();
}

void XWriter::WritePositionTrack(const std::string& frame, const std::vector<PositionKey>& keys) {
  std::vector<uint32_t> ticks;
  std::vector<std::vector<float>> values;
  for (const PositionKey& k : keys) {
    ticks.push_back(k.tick);
    values.push_back({k.position.x, k.position.y, k.position.z});
  }
  WriteTrack(frame, 2, ticks, values);
}

void XWriter::WriteMatrixTrack(const std::string& frame, const std::vector<MatrixKey>& keys) {
  std::vector<uint32_t> ticks;
  std::vector<std::vector<float>> values;
  for (const MatrixKey& k : keys) {
    ticks.push_back(k.tick);
    values.emplace_back(&k.matrix.m[0][0], &k.matrix.m[0][0] + 16);
  }
  WriteTrack(frame, 4, ticks, values);
}

void XWriter::EndAnimationSet() {
  if (!inAnimationSet_) ok_ = false;
  inAnimationSet_ = false;
  Close();
}

bool XWriter::Save(const std::string& path, Form form) const {
  if (!Ok()) return false;
  const std::string data = form == Form::Binary ? Binary() : text_;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool written = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  return std::fclose(f) == 0 && written;
}

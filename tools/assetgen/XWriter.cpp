#include "XWriter.h"

#include <cctype>
#include <cstdio>

XWriter::XWriter() { text_ = "xof 0302txt 0032\n"; }

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

bool XWriter::Save(const std::string& path) const {
  if (!Ok()) return false;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool written = std::fwrite(text_.data(), 1, text_.size(), f) == text_.size();
  return std::fclose(f) == 0 && written;
}

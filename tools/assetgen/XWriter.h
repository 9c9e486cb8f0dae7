// Writes DirectX .X files with the templates the show's loader reads: Frame, FrameTransformMatrix, Mesh
// with MeshNormals, MeshTextureCoords, MeshVertexColors and a one-material MeshMaterialList, and
// AnimationSet/Animation/AnimationKey tracks at 4800 ticks/s.
// The file is composed in text form ("xof 0302txt 0032"); every FLOAT carries a decimal point (the
// platform's text parser rejects a bare integer there) and no DWORD does. Save writes the binary token
// form ("xof 0303bin 0032") of that text unless the text form is asked for: the same values (floats
// as the text rounds them), which the platform's parser reads without parsing numbers.
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "Math3.h"
#include "Mesh.h"

constexpr uint32_t kTicksPerSecond = 4800;

struct PositionKey {
  uint32_t tick;
  Vec3 position;
};

struct MatrixKey {
  uint32_t tick;
  Mat4 matrix;
};

class XWriter {
 public:
  enum class Form { Binary, Text };

  XWriter();

  // Frames nest: every BeginFrame needs its EndFrame.
  void BeginFrame(const std::string& name, const Mat4& transform);
  void EndFrame();
  // Writes the mesh into the current frame (or at top level). Refused (Ok() turns false) when the mesh
  // is inconsistent: array sizes, indices out of range, more than 65535 vertices.
  void WriteMesh(const Mesh& mesh);

  void BeginAnimationSet(const std::string& name);
  void WritePositionTrack(const std::string& frame, const std::vector<PositionKey>& keys);
  void WriteMatrixTrack(const std::string& frame, const std::vector<MatrixKey>& keys);
  void EndAnimationSet();

  // False after any refused call: a bad or repeated name, unbalanced frames, a bad mesh.
  bool Ok() const { return ok_ && depth_ == 0; }
  const std::string& Text() const { return text_; }
  std::string Binary() const { return BinaryForm(text_); }
  // The binary token form of a text file this writer wrote, or of a piece of one under the text header.
  static std::string BinaryForm(const std::string& text);
  // In the form given, else in the default form (binary unless SetDefaultForm said otherwise).
  bool Save(const std::string& path) const { return Save(path, defaultForm_); }
  bool Save(const std::string& path, Form form) const;
  static void SetDefaultForm(Form form) { defaultForm_ = form; }

  // Node names: letters, digits, '_' and '-', not starting with a digit.
  static bool IsValidName(const std::string& name);

 private:
  void Line(const std::string& s);
  void Open(const std::string& header);
  void Close();
  bool Claim(const std::string& name);  // a name may appear once per file
  static std::string F(float v);        // "%.6f": always carries a decimal point
  // One Animation with one AnimationKey of the given type; values[i] belongs to ticks[i].
  void WriteTrack(const std::string& frame, int keyType, const std::vector<uint32_t>& ticks,
                  const std::vector<std::vector<float>>& values);

  std::string text_;
  int indent_ = 0;
  int depth_ = 0;  // open frames
  bool inAnimationSet_ = false;
  bool ok_ = true;
  std::set<std::string> names_;
  static Form defaultForm_;
};

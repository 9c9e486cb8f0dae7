// Strict reader for the .X files the generator writes, used by the data checks: it knows the layout of
// every template the show uses and refuses a file where a FLOAT lacks its decimal point (in the binary
// form: stands in an integer list), a DWORD is not a plain number, an array is shorter than its count
// or an unknown template appears.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct XObject {
  std::string type;   // template name, or "ref" for {Name}
  std::string name;   // object name (or referenced name)
  std::vector<float> floats;     // FLOAT members in file order
  std::vector<uint32_t> dwords;  // DWORD members in file order
  std::string text;               // TextureFilename
  std::vector<std::unique_ptr<XObject>> children;
};

struct XFile {
  std::vector<std::unique_ptr<XObject>> objects;
  std::string error;  // empty when the file was read completely
};

XFile ReadXText(const std::string& text);    // "xof 0302txt 0032"
XFile ReadXBinary(const std::string& data);  // "xof 0303bin 0032"
XFile ReadX(const std::string& data);        // either, by its header

// Mesh contents decoded from a Mesh object.
struct XMesh {
  std::vector<float> positions, normals, uvs;  // 3, 3 and 2 per vertex
  std::vector<uint32_t> faces, normalFaces;    // 3 indices per triangle
  size_t colors = 0;
  std::vector<const XObject*> materials;
};
bool DecodeMesh(const XObject& mesh, XMesh& out, std::string& error);

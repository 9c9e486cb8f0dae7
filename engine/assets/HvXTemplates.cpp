#include "HvXTemplates.h"

// Two identifier families: the first .X templates share 3D82ABxx-62DA-11CF-AB39-0020AF71E433, many later
// ones xxxxxxxx-xxxx-11CF-8F52-0040333594A3; the rest are written out.
#define HV_GUID_AB39(d1) {d1, 0x62DA, 0x11CF, {0xAB, 0x39, 0x00, 0x20, 0xAF, 0x71, 0xE4, 0x33}}
#define HV_GUID_8F52(d1, d2) {d1, d2, 0x11CF, {0x8F, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xA3}}

const GUID HvTidHeader = HV_GUID_AB39(0x3D82AB43);
const GUID HvTidVector = HV_GUID_AB39(0x3D82AB5E);
const GUID HvTidCoords2d = HV_GUID_8F52(0xF6F23F44, 0x7686);
const GUID HvTidMatrix4x4 = HV_GUID_8F52(0xF6F23F45, 0x7686);
const GUID HvTidColorRGBA = HV_GUID_8F52(0x35FF44E0, 0x6C7C);
const GUID HvTidColorRGB = HV_GUID_8F52(0xD3E16E81, 0x7835);
const GUID HvTidIndexedColor = HV_GUID_8F52(0x1630B820, 0x7842);
const GUID HvTidBoolean = {0x537DA6A0, 0xCA37, 0x11D0, {0x94, 0x1C, 0x00, 0x80, 0xC8, 0x0C, 0xFA, 0x7B}};
const GUID HvTidBoolean2d = HV_GUID_8F52(0x4885AE63, 0x78E8);
const GUID HvTidMaterialWrap = HV_GUID_8F52(0x4885AE60, 0x78E8);
const GUID HvTidTextureFilename = HV_GUID_8F52(0xA42790E1, 0x7810);
const GUID HvTidMaterial = HV_GUID_AB39(0x3D82AB4D);
const GUID HvTidMeshFace = HV_GUID_AB39(0x3D82AB5F);
const GUID HvTidMeshFaceWraps = {0xED1EC5C0, 0xC0A8, 0x11D0, {0x94, 0x1C, 0x00, 0x80, 0xC8, 0x0C, 0xFA, 0x7B}};
const GUID HvTidMeshTextureCoords = HV_GUID_8F52(0xF6F23F40, 0x7686);
const GUID HvTidMeshMaterialList = HV_GUID_8F52(0xF6F23F42, 0x7686);
const GUID HvTidMeshNormals = HV_GUID_8F52(0xF6F23F43, 0x7686);
const GUID HvTidMeshVertexColors = HV_GUID_8F52(0x1630B821, 0x7842);
const GUID HvTidMesh = HV_GUID_AB39(0x3D82AB44);
const GUID HvTidFrameTransformMatrix = HV_GUID_8F52(0xF6F23F41, 0x7686);
const GUID HvTidFrame = HV_GUID_AB39(0x3D82AB46);
const GUID HvTidFloatKeys = HV_GUID_8F52(0x10DD46A9, 0x775B);
const GUID HvTidTimedFloatKeys = HV_GUID_8F52(0xF406B180, 0x7B3B);
const GUID HvTidAnimationKey = HV_GUID_8F52(0x10DD46A8, 0x775B);
const GUID HvTidAnimationOptions = HV_GUID_8F52(0xE2BF56C0, 0x840F);
const GUID HvTidAnimation = HV_GUID_AB39(0x3D82AB4F);
const GUID HvTidAnimationSet = HV_GUID_AB39(0x3D82AB50);
const GUID HvTidInlineData = {0x3A23EEA0, 0x94B1, 0x11D0, {0xAB, 0x39, 0x00, 0x20, 0xAF, 0x71, 0xE4, 0x33}};
const GUID HvTidUrl = {0x3A23EEA1, 0x94B1, 0x11D0, {0xAB, 0x39, 0x00, 0x20, 0xAF, 0x71, 0xE4, 0x33}};
const GUID HvTidProgressiveMesh = {0x8A63C360, 0x997D, 0x11D0, {0x94, 0x1C, 0x00, 0x80, 0xC8, 0x0C, 0xFA, 0x7B}};
const GUID HvTidGuid = HV_GUID_8F52(0xA42790E0, 0x7810);
const GUID HvTidStringProperty = {0x7F0F21E0, 0xBFE1, 0x11D1, {0x82, 0xC0, 0x00, 0xA0, 0xC9, 0x69, 0x72, 0x71}};
const GUID HvTidPropertyBag = {0x7F0F21E1, 0xBFE1, 0x11D1, {0x82, 0xC0, 0x00, 0xA0, 0xC9, 0x69, 0x72, 0x71}};
const GUID HvTidExternalVisual = {0x98116AA0, 0xBDBA, 0x11D1, {0x82, 0xC0, 0x00, 0xA0, 0xC9, 0x69, 0x72, 0x71}};
const GUID HvTidRightHanded = {0x7F5D5EA0, 0xD53A, 0x11D1, {0x82, 0xC0, 0x00, 0xA0, 0xC9, 0x69, 0x72, 0x71}};

// The identifiers below must stay equal to the constants above.
const char HvXTemplateBlock[] = R"(xof 0302txt 0032
template Header { <3D82AB43-62DA-11CF-AB39-0020AF71E433> WORD major; WORD minor; DWORD flags; }
template Vector { <3D82AB5E-62DA-11CF-AB39-0020AF71E433> FLOAT x; FLOAT y; FLOAT z; }
template Coords2d { <F6F23F44-7686-11CF-8F52-0040333594A3> FLOAT u; FLOAT v; }
template Matrix4x4 { <F6F23F45-7686-11CF-8F52-0040333594A3> array FLOAT matrix[16]; }
template ColorRGBA { <35FF44E0-6C7C-11CF-8F52-0040333594A3> FLOAT red; FLOAT green; FLOAT blue; FLOAT alpha; }
template ColorRGB { <D3E16E81-7835-11CF-8F52-0040333594A3> FLOAT red; FLOAT green; FLOAT blue; }
template IndexedColor { <1630B820-7842-11CF-8F52-0040333594A3> DWORD index; ColorRGBA indexColor; }
template Boolean { <537DA6A0-CA37-11D0-941C-0080C80CFA7B> WORD truefalse; }
template Boolean2d { <4885AE63-78E8-11CF-8F52-0040333594A3> Boolean u; Boolean v; }
template MaterialWrap { <4885AE60-78E8-11CF-8F52-0040333594A3> Boolean u; Boolean v; }
template TextureFilename { <A42790E1-7810-11CF-8F52-0040333594A3> STRING filename; }
template Material { <3D82AB4D-62DA-11CF-AB39-0020AF71E433> ColorRGBA faceColor; FLOAT power; ColorRGB specularColor; ColorRGB emissiveColor; [...] }
template MeshFace { <3D82AB5F-62DA-11CF-AB39-0020AF71E433> DWORD nFaceVertexIndices; array DWORD faceVertexIndices[nFaceVertexIndices]; }
template MeshFaceWraps { <ED1EC5C0-C0A8-11D0-941C-0080C80CFA7B> DWORD nFaceWrapValues; Boolean2d faceWrapValues; }
template MeshTextureCoords { <F6F23F40-7686-11CF-8F52-0040333594A3> DWORD nTextureCoords; array Coords2d textureCoords[nTextureCoords]; }
template MeshMaterialList { <F6F23F42-7686-11CF-8F52-0040333594A3> DWORD nMaterials; DWORD nFaceIndexes; array DWORD faceIndexes[nFaceIndexes]; [Material] }
template MeshNormals { <F6F23F43-7686-11CF-8F52-0040333594A3> DWORD nNormals; array Vector normals[nNormals]; DWORD nFaceNormals; array MeshFace faceNormals[nFaceNormals]; }
template MeshVertexColors { <1630B821-7842-11CF-8F52-0040333594A3> DWORD nVertexColors; array IndexedColor vertexColors[nVertexColors]; }
template Mesh { <3D82AB44-62DA-11CF-AB39-0020AF71E433> DWORD nVertices; array Vector vertices[nVertices]; DWORD nFaces; array MeshFace faces[nFaces]; [...] }
template FrameTransformMatrix { <F6F23F41-7686-11CF-8F52-0040333594A3> Matrix4x4 frameMatrix; }
template Frame { <3D82AB46-62DA-11CF-AB39-0020AF71E433> [...] }
template FloatKeys { <10DD46A9-775B-11CF-8F52-0040333594A3> DWORD nValues; array FLOAT values[nValues]; }
template TimedFloatKeys { <F406B180-7B3B-11CF-8F52-0040333594A3> DWORD time; FloatKeys tfkeys; }
template AnimationKey { <10DD46A8-775B-11CF-8F52-0040333594A3> DWORD keyType; DWORD nKeys; array TimedFloatKeys keys[nKeys]; }
template AnimationOptions { <E2BF56C0-840F-11CF-8F52-0040333594A3> DWORD openclosed; DWORD positionquality; }
template Animation { <3D82AB4F-62DA-11CF-AB39-0020AF71E433> [...] }
template AnimationSet { <3D82AB50-62DA-11CF-AB39-0020AF71E433> [Animation] }
template InlineData { <3A23EEA0-94B1-11D0-AB39-0020AF71E433> [BINARY] }
template Url { <3A23EEA1-94B1-11D0-AB39-0020AF71E433> DWORD nUrls; array STRING urls[nUrls]; }
template ProgressiveMesh { <8A63C360-997D-11D0-941C-0080C80CFA7B> [Url, InlineData] }
template Guid { <A42790E0-7810-11CF-8F52-0040333594A3> DWORD data1; WORD data2; WORD data3; array UCHAR data4[8]; }
template StringProperty { <7F0F21E0-BFE1-11D1-82C0-00A0C9697271> STRING key; STRING value; }
template PropertyBag { <7F0F21E1-BFE1-11D1-82C0-00A0C9697271> [StringProperty] }
template ExternalVisual { <98116AA0-BDBA-11D1-82C0-00A0C9697271> Guid guidExternalVisual; [...] }
template RightHanded { <7F5D5EA0-D53A-11D1-82C0-00A0C9697271> DWORD bRightHanded; }
)";
const size_t HvXTemplateBlockSize = sizeof HvXTemplateBlock - 1;

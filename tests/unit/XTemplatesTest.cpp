// The template identifiers: each constant is the platform's own value for its template (the dxguid
// library carries them), and the text block the loader registers declares every template with it.
#include <gtest/gtest.h>
#include "engine/assets/HvXTemplates.h"
#include <cstdio>
#include <string>

// The platform's identifiers of the standard templates (libdxguid; no header of the toolchain
// declares them).
extern "C" {
extern const GUID TID_DXFILEHeader, TID_D3DRMVector, TID_D3DRMCoords2d, TID_D3DRMMatrix4x4, TID_D3DRMColorRGBA,
    TID_D3DRMColorRGB, TID_D3DRMIndexedColor, TID_D3DRMBoolean, TID_D3DRMBoolean2d, TID_D3DRMMaterialWrap,
    TID_D3DRMTextureFilename, TID_D3DRMMaterial, TID_D3DRMMeshFace, TID_D3DRMMeshFaceWraps,
    TID_D3DRMMeshTextureCoords, TID_D3DRMMeshMaterialList, TID_D3DRMMeshNormals, TID_D3DRMMeshVertexColors,
    TID_D3DRMMesh, TID_D3DRMFrameTransformMatrix, TID_D3DRMFrame, TID_D3DRMFloatKeys, TID_D3DRMTimedFloatKeys,
    TID_D3DRMAnimationKey, TID_D3DRMAnimationOptions, TID_D3DRMAnimation, TID_D3DRMAnimationSet,
    TID_D3DRMInlineData, TID_D3DRMUrl, TID_D3DRMProgressiveMesh, TID_D3DRMGuid, TID_D3DRMStringProperty,
    TID_D3DRMPropertyBag, TID_D3DRMExternalVisual, TID_D3DRMRightHanded;
}

namespace {
std::string Text(const GUID& g) {
  char text[40];
  snprintf(text, sizeof text, "%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", static_cast<unsigned long>(g.Data1),
           g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6],
           g.Data4[7]);
  return text;
}
}

TEST(XTemplatesTest, EveryIdentifierIsThePlatformsAndTheBlockDeclaresItsTemplateWithIt) {
  const struct {
    const char* name;
    const GUID& id;
    const GUID& platform;
  } templates[] = {
    {"Header", HvTidHeader, TID_DXFILEHeader},
    {"Vector", HvTidVector, TID_D3DRMVector},
    {"Coords2d", HvTidCoords2d, TID_D3DRMCoords2d},
    {"Matrix4x4", HvTidMatrix4x4, TID_D3DRMMatrix4x4},
    {"ColorRGBA", HvTidColorRGBA, TID_D3DRMColorRGBA},
    {"ColorRGB", HvTidColorRGB, TID_D3DRMColorRGB},
    {"IndexedColor", HvTidIndexedColor, TID_D3DRMIndexedColor},
    {"Boolean", HvTidBoolean, TID_D3DRMBoolean},
    {"Boolean2d", HvTidBoolean2d, TID_D3DRMBoolean2d},
    {"MaterialWrap", HvTidMaterialWrap, TID_D3DRMMaterialWrap},
    {"TextureFilename", HvTidTextureFilename, TID_D3DRMTextureFilename},
    {"Material", HvTidMaterial, TID_D3DRMMaterial},
    {"MeshFace", HvTidMeshFace, TID_D3DRMMeshFace},
    {"MeshFaceWraps", HvTidMeshFaceWraps, TID_D3DRMMeshFaceWraps},
    {"MeshTextureCoords", HvTidMeshTextureCoords, TID_D3DRMMeshTextureCoords},
    {"MeshMaterialList", HvTidMeshMaterialList, TID_D3DRMMeshMaterialList},
    {"MeshNormals", HvTidMeshNormals, TID_D3DRMMeshNormals},
    {"MeshVertexColors", HvTidMeshVertexColors, TID_D3DRMMeshVertexColors},
    {"Mesh", HvTidMesh, TID_D3DRMMesh},
    {"FrameTransformMatrix", HvTidFrameTransformMatrix, TID_D3DRMFrameTransformMatrix},
    {"Frame", HvTidFrame, TID_D3DRMFrame},
    {"FloatKeys", HvTidFloatKeys, TID_D3DRMFloatKeys},
    {"TimedFloatKeys", HvTidTimedFloatKeys, TID_D3DRMTimedFloatKeys},
    {"AnimationKey", HvTidAnimationKey, TID_D3DRMAnimationKey},
    {"AnimationOptions", HvTidAnimationOptions, TID_D3DRMAnimationOptions},
    {"Animation", HvTidAnimation, TID_D3DRMAnimation},
    {"AnimationSet", HvTidAnimationSet, TID_D3DRMAnimationSet},
    {"InlineData", HvTidInlineData, TID_D3DRMInlineData},
    {"Url", HvTidUrl, TID_D3DRMUrl},
    {"ProgressiveMesh", HvTidProgressiveMesh, TID_D3DRMProgressiveMesh},
    {"Guid", HvTidGuid, TID_D3DRMGuid},
    {"StringProperty", HvTidStringProperty, TID_D3DRMStringProperty},
    {"PropertyBag", HvTidPropertyBag, TID_D3DRMPropertyBag},
    {"ExternalVisual", HvTidExternalVisual, TID_D3DRMExternalVisual},
    {"RightHanded", HvTidRightHanded, TID_D3DRMRightHanded},
  };
  const std::string block(HvXTemplateBlock, HvXTemplateBlockSize);
  EXPECT_EQ(block.compare(0, 16, "xof 0302txt 0032"), 0);
  size_t declared = 0;
  for (size_t at = block.find("template "); at != std::string::npos; at = block.find("template ", at + 1)) ++declared;
  EXPECT_EQ(declared, sizeof templates / sizeof templates[0]);
  for (const auto& t : templates) {
    EXPECT_EQ(Text(t.platform), Text(t.id)) << t.name;
    const std::string declaration = std::string("template ") + t.name + " { <" + Text(t.platform) + "> ";
    EXPECT_NE(block.find(declaration), std::string::npos) << declaration;
  }
}

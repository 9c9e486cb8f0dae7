// The template block and the identifier constants the loader compares with must agree.
#include <gtest/gtest.h>
#include "engine/assets/HvXTemplates.h"
#include <cstdio>
#include <string>

TEST(XTemplatesTest, EveryConstantIsTheIdentifierItsTemplateDeclares) {
  const struct {
    const char* name;
    const GUID& id;
  } templates[] = {
    {"Header", HvTidHeader}, {"Vector", HvTidVector}, {"Coords2d", HvTidCoords2d}, {"Matrix4x4", HvTidMatrix4x4},
    {"ColorRGBA", HvTidColorRGBA}, {"ColorRGB", HvTidColorRGB}, {"IndexedColor", HvTidIndexedColor},
    {"Boolean", HvTidBoolean}, {"Boolean2d", HvTidBoolean2d}, {"MaterialWrap", HvTidMaterialWrap},
    {"TextureFilename", HvTidTextureFilename}, {"Material", HvTidMaterial}, {"MeshFace", HvTidMeshFace},
    {"MeshFaceWraps", HvTidMeshFaceWraps}, {"MeshTextureCoords", HvTidMeshTextureCoords},
    {"MeshMaterialList", HvTidMeshMaterialList}, {"MeshNormals", HvTidMeshNormals},
    {"MeshVertexColors", HvTidMeshVertexColors}, {"Mesh", HvTidMesh},
    {"FrameTransformMatrix", HvTidFrameTransformMatrix}, {"Frame", HvTidFrame}, {"FloatKeys", HvTidFloatKeys},
    {"TimedFloatKeys", HvTidTimedFloatKeys}, {"AnimationKey", HvTidAnimationKey},
    {"AnimationOptions", HvTidAnimationOptions}, {"Animation", HvTidAnimation}, {"AnimationSet", HvTidAnimationSet},
    {"InlineData", HvTidInlineData}, {"Url", HvTidUrl}, {"ProgressiveMesh", HvTidProgressiveMesh},
    {"Guid", HvTidGuid}, {"StringProperty", HvTidStringProperty}, {"PropertyBag", HvTidPropertyBag},
    {"ExternalVisual", HvTidExternalVisual}, {"RightHanded", HvTidRightHanded},
  };
  const std::string block(HvXTemplateBlock, HvXTemplateBlockSize);
  EXPECT_EQ(block.compare(0, 16, "xof 0302txt 0032"), 0);
  size_t declared = 0;
  for (size_t at = block.find("template "); at != std::string::npos; at = block.find("template ", at + 1)) ++declared;
  EXPECT_EQ(declared, sizeof templates / sizeof templates[0]);
  for (const auto& t : templates) {
    const GUID& g = t.id;
    char text[128];
    snprintf(text, sizeof text, "template %s { <%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X> ", t.name,
             static_cast<unsigned long>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3],
             g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    EXPECT_NE(block.find(text), std::string::npos) << text;
  }
}

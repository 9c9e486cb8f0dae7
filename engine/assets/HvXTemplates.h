// The standard retained-mode .X template set and the identifiers of its templates. The platform's
// headers ship neither, so the declarations are written out here in text form with their published
// identifiers; the loader registers the block before it opens a file, so that model files need not
// carry their own template declarations.
#pragma once
#include <windows.h>
#include <cstddef>

// The template declarations, text form ("xof 0302txt 0032"), and their length in bytes without the
// terminating zero.
extern const char HvXTemplateBlock[];
extern const size_t HvXTemplateBlockSize;

// Template identifiers: the published ones, named after their templates.
extern const GUID HvTidHeader;
extern const GUID HvTidVector;
extern const GUID HvTidCoords2d;
extern const GUID HvTidMatrix4x4;
extern const GUID HvTidColorRGBA;
extern const GUID HvTidColorRGB;
extern const GUID HvTidIndexedColor;
extern const GUID HvTidBoolean;
extern const GUID HvTidBoolean2d;
extern const GUID HvTidMaterialWrap;
extern const GUID HvTidTextureFilename;
extern const GUID HvTidMaterial;
extern const GUID HvTidMeshFace;
extern const GUID HvTidMeshFaceWraps;
extern const GUID HvTidMeshTextureCoords;
extern const GUID HvTidMeshMaterialList;
extern const GUID HvTidMeshNormals;
extern const GUID HvTidMeshVertexColors;
extern const GUID HvTidMesh;
extern const GUID HvTidFrameTransformMatrix;
extern const GUID HvTidFrame;
extern const GUID HvTidFloatKeys;
extern const GUID HvTidTimedFloatKeys;
extern const GUID HvTidAnimationKey;
extern const GUID HvTidAnimationOptions;
extern const GUID HvTidAnimation;
extern const GUID HvTidAnimationSet;
extern const GUID HvTidInlineData;
extern const GUID HvTidUrl;
extern const GUID HvTidProgressiveMesh;
extern const GUID HvTidGuid;
extern const GUID HvTidStringProperty;
extern const GUID HvTidPropertyBag;
extern const GUID HvTidExternalVisual;
extern const GUID HvTidRightHanded;

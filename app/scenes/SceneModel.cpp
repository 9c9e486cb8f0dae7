#include "SceneModel.h"
#include "../../engine/assets/HvXFileLoader.h"
#include "../../engine/core/HvCore.h"
#include "../../engine/render/HvNode.h"
#include "../../engine/render/HvProperty.h"
#include <windows.h>

HvNode* LoadSceneModel(const char* folder, const char* fileName) {
  char savedDirectory[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, savedDirectory);
  SetCurrentDirectoryA(folder);
  HvNode* model = LoadXFile(fileName);
  SetCurrentDirectoryA(savedDirectory);
  if (!model) return nullptr;
  HvCore::GetInstance()->GetSceneRoot()->AddChild(model);
  model->Refresh();
  return model;
}

void ShareSurfaceProperties(HvNode* n, uint32_t pass) {
  for (uint32_t kind : {HvPropertyMaterial, HvPropertyTexturing})
    if (HvProperty* p = n->FindProperty(kind, 0)) n->AddProperty(p, pass);
  for (size_t i = 0; i < n->GetChildCount(); ++i) ShareSurfaceProperties(n->GetChild(i), pass);
}

void MirrorColumns(const D3DXPLANE& plane, float columns[4][4]) {
  D3DXMATRIX m;
  D3DXMatrixReflect(&m, &plane);
  for (int j = 0; j < 4; ++j)
    for (int i = 0; i < 4; ++i) columns[j][i] = m.m[i][j];
}

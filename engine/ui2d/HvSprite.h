// A textured screen-space quad: a texture plus a 2D placement (position, pivot, scale, rotation) and
// a modulation colour. Registered in the core's sprite pool; the sprite collector draws every active
// sprite once per frame, in creation order. Owners change the fields, then call Refresh to rebuild
// the placement, and switch the sprite on and off through its Active flag.
#pragma once
#include "../core/HvObject.h"
#include <d3dx9math.h>
#include <string>

class HvTexture;

// The placement of a tw x th texture on a W x H back buffer, row-vector convention:
// translate by -pivot (texture fractions), scale, rotate about z (radians), translate to the position
// (screen fractions).
D3DXMATRIX HvSpriteTransform(const float position[2], const float pivot[2], const float scale[2], float rotation,
                             float screenWidth, float screenHeight, float textureWidth, float textureHeight);

class HvSprite : public HvEngineObject {
public:
  // Loads (or shares) the texture of `file`; a file that cannot be loaded leaves the sprite without
  // a texture, which is never drawn.
  HvSprite(const std::string& file, float x, float y);
  ~HvSprite() override;

  bool Refresh() override;  // rebuilds the transform from the fields and the display mode

  void SetPosition(float x, float y) { Set2(position, x, y); }
  void SetPivot(float x, float y) { Set2(pivot, x, y); }
  void SetScale(float x, float y) { Set2(scale, x, y); }
  void SetColor(float r, float g, float b, float a) { color[0] = r, color[1] = g, color[2] = b, color[3] = a; }
  void SetRotation(float radians) { rotation = radians; SetFlag(HvFlags::Changed); }
  void SetVisible(bool on) { SetFlag(HvFlags::Active, on); }

  HvTexture* GetTexture() const { return texture.Get(); }  // null when the file could not be loaded
  const float* GetPosition() const { return position; }    // fractions of the back buffer, 0,0 top left
  const float* GetPivot() const { return pivot; }          // fractions of the texture
  const float* GetScale() const { return scale; }
  const float* GetColor() const { return color; }          // r, g, b, a
  float GetRotation() const { return rotation; }
  bool IsVisible() const { return HasFlag(HvFlags::Active); }
  const D3DXMATRIX& GetTransform() const { return transform; }

private:
  void Set2(float* field, float x, float y) { field[0] = x, field[1] = y; SetFlag(HvFlags::Changed); }

  HvRef<HvTexture> texture;
  float position[2];
  float pivot[2] = {0, 0};
  float scale[2] = {1, 1};
  float color[4] = {1, 1, 1, 1};
  float rotation = 0;
  D3DXMATRIX transform;  // identity until first built
};

#include "ShowShaders.h"
#include "ShaderTexts.h"  // generated from app/shaders
#include <d3d9.h>

namespace {
const uint32_t kPositionNormal = D3DFVF_XYZ | D3DFVF_NORMAL;
const uint32_t kTextured = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;
const uint32_t kPainted = kTextured | D3DFVF_DIFFUSE;
const uint32_t kLight0 = HvLightBit, kLight1 = HvLightBit << 1;

template <size_t N>
constexpr SceneShader Shader(const char* name, const char* text, uint32_t vertexFormat, const ShaderBinding (&bindings)[N]) {
  return {name, text, vertexFormat, bindings, N};
}

const ShaderBinding kBlob[] = {{0, HvConstWorldViewProjection}, {4, HvConstBackVectorObject}};
const ShaderBinding kFlash[] = {{0, SceneData, 1}};
const ShaderBinding kTunnel[] = {
  {0, HvConstWorldViewProjection},
  {4, HvConstWorld},
  {8, kLight0 | HvConstLightPosition},
  {9, kLight0 | HvConstLightAttenuation},
  {10, kLight0 | HvConstLightColor},
  {11, kLight1 | HvConstLightPosition},
  {12, kLight1 | HvConstLightAttenuation},
  {13, kLight1 | HvConstLightColor},
  {14, HvConstMaterialPower},
  {15, HvConstBackVector},
  {16, HvConstAmbient},
  {17, HvConstMaterialSpecular},
};
const ShaderBinding kRoom[] = {
  {0, HvConstWorldViewProjection},
  {4, HvConstWorld},
  {8, kLight0 | HvConstLightPosition},
  {9, kLight0 | HvConstLightAttenuation},
  {10, kLight0 | HvConstLightColor},
  {11, HvConstAmbient},
};
const ShaderBinding kRoomMirror[] = {
  {0, HvConstWorldViewProjection},
  {4, HvConstWorld},
  {18, HvConstViewProjection},
  {8, kLight0 | HvConstLightPosition},
  {9, kLight0 | HvConstLightAttenuation},
  {10, kLight0 | HvConstLightColor},
  {16, HvConstAmbient},
  {23, SceneValue, 4},  // the reflection's columns
};
const ShaderBinding kStar[] = {
  {0, HvConstWorldViewProjection},
  {4, HvConstBackVectorObject},
  {5, kLight0 | HvConstLightDirectionObject},
  {6, HvConstMaterialColor},
  {7, HvConstMaterialSpecular},
  {8, HvConstMaterialPower},
  {9, SceneData, 1},  // the scale factor
};
const ShaderBinding kStarMirror[] = {
  {9, HvConstWorld},
  {13, HvConstViewProjection},
  {4, HvConstBackVectorObject},
  {5, kLight0 | HvConstLightDirection},
  {6, HvConstMaterialColor},
  {7, HvConstMaterialSpecular},
  {8, HvConstMaterialPower},
  {17, SceneData, 1},   // the scale factor
  {23, SceneValue, 4},  // the reflection's columns
};
// The station and vertex-paint shaders share their register table.
const ShaderBinding kStation[] = {
  {0, HvConstWorldViewProjection},
  {4, HvConstWorld},
  {8, kLight0 | HvConstLightPosition},
  {9, kLight0 | HvConstLightAttenuation},
  {10, kLight0 | HvConstLightColor},
  {14, HvConstMaterialPower},
  {15, HvConstBackVectorObject},
  {16, HvConstAmbient},
  {17, HvConstMaterialSpecular},
};
const ShaderBinding kGlass[] = {
  {0, HvConstWorldViewProjection},
  {9, HvConstWorld},
  {13, HvConstEye},
  {4, SceneValue, 1},  // the pane's colour
};
// The sky box shaders with and without vertex colours share their register table.
const ShaderBinding kSkyBox[] = {
  {0, HvConstWorldViewProjection},
  {4, HvConstMaterialColor},
  {5, HvConstAmbient},
  {6, HvConstBackVectorObject},
};
// The specular shaders with and without the reflection share their register table.
const ShaderBinding kSpecEnv[] = {
  {0, HvConstWorldViewProjection},
  {4, HvConstBackVectorObject},
  {5, HvConstBackVectorObject},  // the light shines from the camera
  {6, HvConstMaterialColor},
  {7, HvConstMaterialSpecular},
  {8, HvConstMaterialPower},
  {9, HvConstWorld},
  {13, HvConstEye},
  {14, HvConstAmbient},
};
const ShaderBinding kToon[] = {
  {0, HvConstWorldViewProjection},
  {6, HvConstMaterialColor},
  {9, HvConstBackVectorObject},
};
const ShaderBinding kExtrode[] = {
  {0, HvConstWorldViewProjection},
  {5, HvConstWorld},
  {9, HvConstEye},
  {4, SceneValue, 1},  // the colour
};
const ShaderBinding kPulse[] = {
  {0, HvConstWorldViewProjection},
  {7, HvConstMaterialPower},
  {8, HvConstBackVectorObject},  // the light shines from the camera
  {9, HvConstBackVectorObject},
  {10, HvConstAmbient},
  {11, HvConstMaterialColor},
  {12, HvConstMaterialSpecular},
  {4, SceneData, 1},   // the time
  {5, SceneValue, 1},  // the Taylor coefficients of sin
  {6, SceneValue, 1},  // pi and its relatives
};
const ShaderBinding kHolo[] = {
  {0, HvConstWorldViewProjection},
  {4, HvConstWorld},
  {8, HvConstInverseWorld},
  {12, HvConstMaterialColor},
  {13, HvConstEyeObject},
};
}  // namespace

const SceneShader kBlobShader = Shader("blob_vertex_shader", ShaderText::blob_vertex_shader, kPositionNormal, kBlob);
const SceneShader kFlashShader = Shader("flash_screen_vertex_shader", ShaderText::flash_screen_vertex_shader, D3DFVF_XYZ, kFlash);
const SceneShader kTunnelShader = Shader("tunnel_vertex_shader", ShaderText::tunnel_vertex_shader, kTextured, kTunnel);
const SceneShader kRoomShader = Shader("room_vertex_shader", ShaderText::room_vertex_shader, kTextured, kRoom);
const SceneShader kRoomMirrorShader =
    Shader("room_vertex_shader_mirror", ShaderText::room_vertex_shader_mirror, kTextured, kRoomMirror);
const SceneShader kStarShader = Shader("star_vertex_shader", ShaderText::star_vertex_shader, kTextured, kStar);
const SceneShader kStarMirrorShader =
    Shader("star_vertex_shader_mirror", ShaderText::star_vertex_shader_mirror, kTextured, kStarMirror);
const SceneShader kStationShader =
    Shader("space_station_vertex_shader", ShaderText::space_station_vertex_shader, kTextured, kStation);
const SceneShader kVertexPaintShader = Shader("vertex_paint", ShaderText::vertex_paint, kPainted, kStation);
const SceneShader kGlassShader = Shader("glass_vs", ShaderText::glass_vs, kTextured, kGlass);
const SceneShader kSkyBoxShader = Shader("sky_box_vs", ShaderText::sky_box_vs, kTextured, kSkyBox);
const SceneShader kSkyBoxVertexColorShader =
    Shader("sky_box_vs_vertex_color", ShaderText::sky_box_vs_vertex_color, kPainted, kSkyBox);
const SceneShader kShipSpecEnvShader = Shader("ship_spec_env_VS", ShaderText::ship_spec_env_VS, kTextured, kSpecEnv);
const SceneShader kShipSpecEnvPulseShader =
    Shader("ship_spec_env_pulse_VS", ShaderText::ship_spec_env_pulse_VS, kTextured, kSpecEnv);
const SceneShader kShipToonShader = Shader("ship_toon_vs", ShaderText::ship_toon_vs, kTextured, kToon);
const SceneShader kShipExtrodeShader = Shader("extrode", ShaderText::extrode, kTextured, kExtrode);
const SceneShader kShipPulseShader = Shader("ship_pulse_vs", ShaderText::ship_pulse_vs, kTextured, kPulse);
const SceneShader kShipHoloShader = Shader("ship_holo_VS", ShaderText::ship_holo_VS, kTextured, kHolo);

const SceneShader* const kShowShaders[kShowShaderCount] = {
  &kBlobShader, &kFlashShader, &kTunnelShader, &kRoomShader, &kRoomMirrorShader, &kStarShader,
  &kStarMirrorShader, &kStationShader, &kVertexPaintShader, &kGlassShader, &kSkyBoxShader,
  &kSkyBoxVertexColorShader, &kShipSpecEnvShader, &kShipSpecEnvPulseShader, &kShipToonShader,
  &kShipExtrodeShader, &kShipPulseShader, &kShipHoloShader,
};

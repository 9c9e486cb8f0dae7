// The eighteen vertex shaders of the show, one per file in app/shaders, each with its vertex format and
// the register table of the scene that binds it. Scenes make their properties from these
// (CreateShaderProperty); the tables are plain data, so that tests can hold every text to them.
#pragma once
#include "SceneShader.h"

// Blob: white, the colour ramp read by the angle to the eye.
extern const SceneShader kBlobShader;
// Screen flash: one colour over the clip-space quad; c0 the flash's colour (its data).
extern const SceneShader kFlashShader;
// Tunnel: two point lights with specular.
extern const SceneShader kTunnelShader;
// Room: one point light; the mirrored copy drawn through a floor plane (c23..c26 its reflection
// columns, given by the scene).
extern const SceneShader kRoomShader;
extern const SceneShader kRoomMirrorShader;
// Star: scaled by the star's data (c9, mirrored c17), one directional light; mirrored as the room.
extern const SceneShader kStarShader;
extern const SceneShader kStarMirrorShader;
// Space station: one point light, with vertex colours for painted meshes; glass (c4 its colour,
// given by the scene); sky box with and without vertex colours.
extern const SceneShader kStationShader;
extern const SceneShader kVertexPaintShader;
extern const SceneShader kGlassShader;
extern const SceneShader kSkyBoxShader;
extern const SceneShader kSkyBoxVertexColorShader;
// The ship's five shadings: specular with environment reflection, specular alone, toon, double
// reflection (c4 its colour), pulse (c4 the time, c5 and c6 its series constants), hologram.
extern const SceneShader kShipSpecEnvShader;
extern const SceneShader kShipSpecEnvPulseShader;
extern const SceneShader kShipToonShader;
extern const SceneShader kShipExtrodeShader;
extern const SceneShader kShipPulseShader;
extern const SceneShader kShipHoloShader;

const size_t kShowShaderCount = 18;
extern const SceneShader* const kShowShaders[kShowShaderCount];

;------------------------------------------------------------
; SPECULAR ENVIRONMENT SHADER
; lit from the camera, specular by material, plus a world-space
; reflection vector for the environment cube on stage 1
;------------------------------------------------------------
#include "include/specular_registers.vsh"
; registers of the reflection
#define WORLD_POSITION r4
#define WORLD_NORMAL r5
#define EYE_RAY r6
#define EYE_DOT_NORMAL r7
#define REFLECTED_RAY oT1

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2

#include "include/transform_position.vsh"
mov oT0, v2

#include "include/camera_light_factors.vsh"
lit r2, r0
mov r3, c[ AMBIENT_COLOR ]
mad oD0, c[ MATERIAL_COLOR ], r2.y, r3
mul oD1, c[ MATERIAL_SPECULAR ], r2.z

#include "include/world_position_normal.vsh"
#include "include/reflection_vector.vsh"

;------------------------------------------------------------
; SPECULAR SHADER
; the lighting of the specular environment shader alone: the
; pulsing copy keeps its model textures. The world and eye
; registers are bound as for that shader but not read.
;------------------------------------------------------------
#define TRANSFORM_MATRIX 0
#define TRANSFORM_MATRIX_1 1
#define TRANSFORM_MATRIX_2 2
#define TRANSFORM_MATRIX_3 3
#define CAMERA_DIRECTION_OS 4
#define LIGHT_DIRECTION_OS 5
#define MATERIAL_COLOR 6
#define MATERIAL_SPECULAR 7
#define MATERIAL_SPECULAR_POWER 8
#define WORLD 9
#define WORLD_1 10
#define WORLD_2 11
#define WORLD_3 12
#define EYE_VECTOR 13
#define AMBIENT_COLOR 14

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

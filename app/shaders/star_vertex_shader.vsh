;------------------------------------------------------------
; STAR SHADER
; scaled position, one directional light in object space,
; diffuse and specular per vertex
;------------------------------------------------------------
#define TRANSFORM_MATRIX 0
#define TRANSFORM_MATRIX_1 1
#define TRANSFORM_MATRIX_2 2
#define TRANSFORM_MATRIX_3 3
#define CAMERA_DIRECTION_OS 4
#define LIGHT_DIRECTION 5
#define MATERIAL_COLOR 6
#define MATERIAL_SPECULAR 7
#define MATERIAL_SPECULAR_POWER 8
#define SCALE_FACTOR 9

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2

mul r0, v0, c[ SCALE_FACTOR ]
dp4 oPos.x, r0, c[ TRANSFORM_MATRIX ]
dp4 oPos.y, r0, c[ TRANSFORM_MATRIX_1 ]
dp4 oPos.z, r0, c[ TRANSFORM_MATRIX_2 ]
dp4 oPos.w, r0, c[ TRANSFORM_MATRIX_3 ]
#include "include/star_light.vsh"
mov oT0, v2

;------------------------------------------------------------
; TUNNEL SHADER WITH TWO LIGHT SOURCES
; per-vertex lighting by two point lights: diffuse into oD0,
; specular into oD1
;------------------------------------------------------------
#define TRANSFORM_MATRIX 0
#define TRANSFORM_MATRIX_1 1
#define TRANSFORM_MATRIX_2 2
#define TRANSFORM_MATRIX_3 3
#define WORLD 4
#define WORLD_1 5
#define WORLD_2 6
#define WORLD_3 7
#define LIGHT_POSITION_1 8
#define LIGHT_ATTENUATION_1 9
#define LIGHT_COLOR_1 10
#define LIGHT_POSITION_2 11
#define LIGHT_ATTENUATION_2 12
#define LIGHT_COLOR_2 13
#define SPECULAR_POWER 14
#define EYE_VECTOR 15
#define AMBIENT_COLOR 16
#define SPECULAR_COLOR 17

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2

#include "include/transform_position.vsh"
mov oT0, v2
#include "include/world_position_normal_rigid.vsh"

; light 1: diffuse colour into r7, specular factor into r8.x
#define LIGHT_POSITION LIGHT_POSITION_1
#define LIGHT_ATTENUATION LIGHT_ATTENUATION_1
#include "include/tunnel_point_light.vsh"
mul r7, c[ LIGHT_COLOR_1 ], r6.y
mov r8.x, r6.z

; light 2: diffuse colour into r9, specular factor into r8.y
#undef LIGHT_POSITION
#undef LIGHT_ATTENUATION
#define LIGHT_POSITION LIGHT_POSITION_2
#define LIGHT_ATTENUATION LIGHT_ATTENUATION_2
#include "include/tunnel_point_light.vsh"
mul r9, c[ LIGHT_COLOR_2 ], r6.y
mov r8.y, r6.z

add r7, r7, r9
add oD0, r7, c[ AMBIENT_COLOR ]
add r8.x, r8.x, r8.y
mul oD1, c[ SPECULAR_COLOR ], r8.x

;------------------------------------------------------------
; VERTEX PAINT SHADER
; the space station shader for meshes with vertex colours: light
; and ambient both tinted by the colour
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
#define SPECULAR_POWER 14
#define EYE_VECTOR 15
#define AMBIENT_COLOR 16
#define SPECULAR_COLOR 17
; registers of the world position and normal
#define WORLD_POSITION r0
#define WORLD_NORMAL r1

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2
dcl_color v3

#include "include/transform_position.vsh"
mov oT0, v2
#include "include/world_position_normal.vsh"
#include "include/station_point_light.vsh"
mul r6, v3, c[ AMBIENT_COLOR ]
mad oD0, v3, r5.x, r6

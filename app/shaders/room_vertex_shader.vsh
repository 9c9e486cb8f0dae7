;------------------------------------------------------------
; POINT LIGHT SHADER
; one point light in world space, intensity range / (attenuation * d)
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
#define AMBIENT_COLOR 11

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2

#include "include/transform_position.vsh"
#include "include/world_position_normal_rigid.vsh"
#include "include/room_point_light.vsh"
mov oT0, v2

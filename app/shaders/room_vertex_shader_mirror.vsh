;------------------------------------------------------------
; POINT LIGHT SHADER, MIRRORED
; the point light shader drawn reflected through a floor plane;
; the light falls on the unreflected world position. c0..c3 are
; filled as for the point light shader but not read.
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
#define AMBIENT_COLOR 16
#define VIEW_PROJECTION 18
#define VIEW_PROJECTION_1 19
#define VIEW_PROJECTION_2 20
#define VIEW_PROJECTION_3 21
#define REFLECTION 23
#define REFLECTION_1 24
#define REFLECTION_2 25
#define REFLECTION_3 26
; registers of the mirrored position
#define OBJECT_POSITION v0
#define WORLD_POSITION r0
#define MIRRORED_POSITION r8

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2

#include "include/mirrored_position.vsh"
dp3 r1.x, v1, c[ WORLD ]
dp3 r1.y, v1, c[ WORLD_1 ]
dp3 r1.z, v1, c[ WORLD_2 ]
#include "include/room_point_light.vsh"
mov oT0, v2

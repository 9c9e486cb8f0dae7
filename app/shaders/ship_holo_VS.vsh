;------------------------------------------------------------
; HOLOGRAM SHADER
; the hologram ramp is read by the viewing angle: u = N.V with
; V = normalise(position + eye). The world matrices are bound
; but not read.
;------------------------------------------------------------
#define TRANSFORM_MATRIX 0
#define TRANSFORM_MATRIX_1 1
#define TRANSFORM_MATRIX_2 2
#define TRANSFORM_MATRIX_3 3
#define WORLD 4
#define WORLD_1 5
#define WORLD_2 6
#define WORLD_3 7
#define INV_WORLD 8
#define INV_WORLD_1 9
#define INV_WORLD_2 10
#define INV_WORLD_3 11
#define MATERIAL_COLOR 12
#define EYE_POSITION 13

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2
def c20, 0, 0, 0, 1

#include "include/transform_position.vsh"
mov oD0, c[ MATERIAL_COLOR ]

add r0.xyz, v0, c[ EYE_POSITION ]
dp3 r0.w, r0, r0
rsq r0.w, r0.w
mul r0.xyz, r0, r0.w
mov r1, c20
dp3 r1.x, v1, r0
mov oT0, r1

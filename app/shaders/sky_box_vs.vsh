;------------------------------------------------------------
; SKY BOX SHADER
; sky box faces without vertex colours: shaded by how much they
; face the camera
;------------------------------------------------------------
#define TRANSFORM_MATRIX 0
#define TRANSFORM_MATRIX_1 1
#define TRANSFORM_MATRIX_2 2
#define TRANSFORM_MATRIX_3 3
#define MATERIAL_COLOR 4
#define AMBIENT_COLOR 5
#define CAMERA_DIRECTION 6

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2

#include "include/transform_position.vsh"
mov oT0, v2
dp3 r0.x, v1, c[ CAMERA_DIRECTION ]
mov r1, c[ AMBIENT_COLOR ]
mad oD0, c[ MATERIAL_COLOR ], r0.x, r1

;------------------------------------------------------------
; TOON SHADER
; both ramps are read at N.(-back vector): negative on faces
; turned to the camera, which the wrapping sampler turns into
; 1 - cos (bright facing the camera, the edge band at the rim)
;------------------------------------------------------------
#define TRANSFORM_MATRIX 0
#define TRANSFORM_MATRIX_1 1
#define TRANSFORM_MATRIX_2 2
#define TRANSFORM_MATRIX_3 3
#define MATERIAL_COLOR 6
#define EYE_VECTOR 9

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2
def c20, 0, 0, 0, 1

#include "include/transform_position.vsh"
mov r0, c20
dp3 r0.x, v1, -c[ EYE_VECTOR ]
mov oT0, r0
mov oT1, r0
mov oD0, c[ MATERIAL_COLOR ]

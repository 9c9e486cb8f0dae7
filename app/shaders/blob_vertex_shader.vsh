;------------------------------------------------------------
; BLOB SHADER
; white, with the colour ramp read at |N.eye|: 0 at the rim,
; 1 where the surface faces the eye
;------------------------------------------------------------
#define TRANSFORM_MATRIX 0
#define TRANSFORM_MATRIX_1 1
#define TRANSFORM_MATRIX_2 2
#define TRANSFORM_MATRIX_3 3
#define EYE_VECTOR 4

vs_1_1
dcl_position v0
dcl_normal v1
def c10, 1, 1, 1, 1

#include "include/transform_position.vsh"
dp3 r0.x, v1, c[ EYE_VECTOR ]
max oT0.x, r0.x, -r0.x
mov oD0, c10

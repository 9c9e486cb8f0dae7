;------------------------------------------------------------
; DOUBLE REFLECTION SHADER
; two reflection vectors: the true one and one off a normal
; shortened to 0.4, multiplied together on the texture stages
;------------------------------------------------------------
#define TRANSFORM_MATRIX 0
#define TRANSFORM_MATRIX_1 1
#define TRANSFORM_MATRIX_2 2
#define TRANSFORM_MATRIX_3 3
#define MATERIAL_COLOR 4
#define WORLD 5
#define WORLD_1 6
#define WORLD_2 7
#define WORLD_3 8
#define EYE_VECTOR 9
; registers of the reflection
#define WORLD_POSITION r0
#define WORLD_NORMAL r1
#define EYE_RAY r2
#define EYE_DOT_NORMAL r3
#define REFLECTED_RAY oT0

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2
def c10, 0.4, 0, 0, 0

#include "include/transform_position.vsh"
mov oD0, c[ MATERIAL_COLOR ]
#include "include/world_position_normal.vsh"
#include "include/reflection_vector.vsh"

; the same with 0.4 N, into oT1
mul WORLD_NORMAL.xyz, WORLD_NORMAL, c10.x
dp3 EYE_DOT_NORMAL.x, EYE_RAY, WORLD_NORMAL
add EYE_DOT_NORMAL.x, EYE_DOT_NORMAL.x, EYE_DOT_NORMAL.x
mad oT1.xyz, WORLD_NORMAL, -EYE_DOT_NORMAL.x, EYE_RAY

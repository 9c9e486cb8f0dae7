;------------------------------------------------------------
; GLASS SHADER
; a see-through pane that reflects the glass cube map: constant
; colour ALPHA, reflection vector as texture coordinate
;------------------------------------------------------------
#define TRANSFORM_MATRIX 0
#define TRANSFORM_MATRIX_1 1
#define TRANSFORM_MATRIX_2 2
#define TRANSFORM_MATRIX_3 3
#define ALPHA 4
#define WORLD 9
#define WORLD_1 10
#define WORLD_2 11
#define WORLD_3 12
#define EYE_VECTOR 13
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

#include "include/transform_position.vsh"
mov oD0, c[ ALPHA ]
#include "include/world_position_normal.vsh"
#include "include/reflection_vector.vsh"

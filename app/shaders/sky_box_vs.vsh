;------------------------------------------------------------
; SKY BOX SHADER
; sky box faces without vertex colours: shaded by how much they
; face the camera
;------------------------------------------------------------
#include "include/sky_box_registers.vsh"

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2

#include "include/transform_position.vsh"
mov oT0, v2
dp3 r0.x, v1, c[ CAMERA_DIRECTION ]
mov r1, c[ AMBIENT_COLOR ]
mad oD0, c[ MATERIAL_COLOR ], r0.x, r1

;------------------------------------------------------------
; SKY BOX VERTEX COLOUR SHADER
; sky box faces with vertex colours: the colour as it is; the
; registers of the sky box shader are bound but not read
;------------------------------------------------------------
#include "include/sky_box_registers.vsh"

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2
dcl_color v3

#include "include/transform_position.vsh"
mov oT0, v2
mov oD0, v3

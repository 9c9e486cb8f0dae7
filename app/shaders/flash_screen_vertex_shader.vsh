;------------------------------------------------------------
; FLASH SHADER
; the positions of the quad are already in clip space; one colour
; with its opacity for every vertex
;------------------------------------------------------------
#define COLOR 0

vs_1_1
dcl_position v0

mov oPos, v0
mov oD0, c[ COLOR ]

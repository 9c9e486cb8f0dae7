;------------------------------------------------------------
; SPECULAR SHADER
; the lighting of the specular environment shader alone: the
; pulsing copy keeps its model textures. The world and eye
; registers are bound as for that shader but not read.
;------------------------------------------------------------
#include "include/specular_registers.vsh"

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2

#include "include/transform_position.vsh"
mov oT0, v2

#include "include/camera_light_factors.vsh"
lit r2, r0
mov r3, c[ AMBIENT_COLOR ]
mad oD0, c[ MATERIAL_COLOR ], r2.y, r3
mul oD1, c[ MATERIAL_SPECULAR ], r2.z

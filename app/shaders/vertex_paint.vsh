;------------------------------------------------------------
; VERTEX PAINT SHADER
; the space station shader for meshes with vertex colours: light
; and ambient both tinted by the colour
;------------------------------------------------------------
#include "include/station_registers.vsh"
; registers of the world position and normal
#define WORLD_POSITION r0
#define WORLD_NORMAL r1

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2
dcl_color v3

#include "include/transform_position.vsh"
mov oT0, v2
#include "include/world_position_normal.vsh"
#include "include/station_point_light.vsh"
mul r6, v3, c[ AMBIENT_COLOR ]
mad oD0, v3, r5.x, r6

;------------------------------------------------------------
; SPACE STATION SHADER
; one point light with attenuation 1 / (a0 + a1 d + a2 d^2);
; light colour and specular are bound but not used
;------------------------------------------------------------
#include "include/station_registers.vsh"
; registers of the world position and normal
#define WORLD_POSITION r0
#define WORLD_NORMAL r1

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2

#include "include/transform_position.vsh"
mov oT0, v2
#include "include/world_position_normal.vsh"
#include "include/station_point_light.vsh"
mov r6, c[ AMBIENT_COLOR ]
add oD0, r6, r5.x

;------------------------------------------------------------
; STAR MIRROR SHADER
; as the star shader, drawn reflected through a plane; the light
; direction is given in world space
;------------------------------------------------------------
#define CAMERA_DIRECTION_OS 4
#define LIGHT_DIRECTION 5
#define MATERIAL_COLOR 6
#define MATERIAL_SPECULAR 7
#define MATERIAL_SPECULAR_POWER 8
#define WORLD 9
#define WORLD_1 10
#define WORLD_2 11
#define WORLD_3 12
#define VIEW_PROJECTION 13
#define VIEW_PROJECTION_1 14
#define VIEW_PROJECTION_2 15
#define VIEW_PROJECTION_3 16
#define SCALE_FACTOR 17
#define REFLECTION 23
#define REFLECTION_1 24
#define REFLECTION_2 25
#define REFLECTION_3 26
; registers of the mirrored position
#define OBJECT_POSITION r0
#define WORLD_POSITION r5
#define MIRRORED_POSITION r6

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2

mul OBJECT_POSITION, v0, c[ SCALE_FACTOR ]
#include "include/mirrored_position.vsh"
#include "include/star_light.vsh"
mov oT0, v2

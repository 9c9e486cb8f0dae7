;------------------------------------------------------------
; PULSE SHADER
; moves every vertex along its normal by sin(TIME.x * z * frequency):
; waves run along the length of the ship, denser as the show goes on
; (TIME grows with it); the frequency 0.2 keeps them a few object
; units apart. The angle is brought into -pi .. pi and its sine
; summed from four Taylor terms. Lit as the specular shader.
;------------------------------------------------------------
#define TRANSFORM_MATRIX 0
#define TRANSFORM_MATRIX_1 1
#define TRANSFORM_MATRIX_2 2
#define TRANSFORM_MATRIX_3 3
#define TIME 4
#define TAYLOR 5
#define PI 6
#define MATERIAL_SPECULAR_POWER 7
#define LIGHT_DIRECTION_OS 8
#define CAMERA_DIRECTION_OS 9
#define AMBIENT_COLOR 10
#define MATERIAL_COLOR 11
#define MATERIAL_SPECULAR 12

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2
def c20, 1.0, 0.5, 0.2, 1.0 ; scale factor, 0.5, frequency, 1

; a = TIME.x * z * frequency into -pi .. pi: fraction of (a / 2 pi + 0.5), times 2 pi, minus pi
mul r0.x, v0.z, c[ TIME ].x
mul r0.x, r0.x, c20.z
mad r0.x, r0.x, c[ PI ].w, c[ PI ].y
expp r1.y, r0.x
mad r0.x, r1.y, c[ PI ].z, -c[ PI ].x

; sin a = (a, a^3, a^5, a^7) . TAYLOR
mul r1.x, r0.x, r0.x
dst r2, r1.xxxx, r1.xxxx
mul r2.w, r2.w, r2.y
mul r3, r2.xzyw, r0.x
dp4 r4.x, r3, c[ TAYLOR ]

; displaced position, w from TIME
mul r4.x, r4.x, c20.x
mul r5.xyz, v1, r4.x
add r5.xyz, r5, v0
mov r5.w, c[ TIME ].w
dp4 oPos.x, r5, c[ TRANSFORM_MATRIX ]
dp4 oPos.y, r5, c[ TRANSFORM_MATRIX_1 ]
dp4 oPos.z, r5, c[ TRANSFORM_MATRIX_2 ]
dp4 oPos.w, r5, c[ TRANSFORM_MATRIX_3 ]
mov oT0, v2

#include "include/camera_light_factors.vsh"
lit r6, r0
mov r7, c[ AMBIENT_COLOR ]
mad oD0, c[ MATERIAL_COLOR ], r6.y, r7
mul oD1, c[ MATERIAL_SPECULAR ], r6.z

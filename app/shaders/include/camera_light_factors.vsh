; r0 = (N.L, N.H, power, power), ready for lit: the light shines along LIGHT_DIRECTION_OS from the
; camera, H halfway between it and CAMERA_DIRECTION_OS, all in object space; the power is
; MATERIAL_SPECULAR_POWER.y. r1 is scratch.
mov r1, c[ LIGHT_DIRECTION_OS ]
dp3 r0.x, v1, r1
add r1, r1, c[ CAMERA_DIRECTION_OS ]
dp3 r1.w, r1, r1
rsq r1.w, r1.w
mul r1, r1, r1.w
dp3 r0.y, v1, r1
mov r0.zw, c[ MATERIAL_SPECULAR_POWER ].y

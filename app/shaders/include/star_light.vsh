; One directional light, coming from -LIGHT_DIRECTION, with the half vector to CAMERA_DIRECTION_OS:
; oD0 = MATERIAL_COLOR x diffuse, oD1 = MATERIAL_SPECULAR x specular at the power
; MATERIAL_SPECULAR_POWER.y. Works in r1 (towards the light), r2 (half vector), r3 and r4 (lit).
mov r1, -c[ LIGHT_DIRECTION ]
add r2.xyz, r1, c[ CAMERA_DIRECTION_OS ]
dp3 r2.w, r2, r2
rsq r2.w, r2.w
mul r2.xyz, r2, r2.w
dp3 r3.x, v1, r1
dp3 r3.y, v1, r2
mov r3.w, c[ MATERIAL_SPECULAR_POWER ].y
lit r4, r3
mul oD0, c[ MATERIAL_COLOR ], r4.y
mul oD1, c[ MATERIAL_SPECULAR ], r4.z

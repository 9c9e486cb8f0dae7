; Diffuse and specular factors (r6.y, r6.z) of the point light at LIGHT_POSITION, both times the
; attenuation 1 / (a0 + a1 d + a2 d^2) from LIGHT_ATTENUATION, for the world position r0 and the
; world normal r1; specular with the half vector to EYE_VECTOR at the power SPECULAR_POWER.y.
; L in r2, (d^2, 1/d) in r3, attenuation in r4.x, half vector in r5.
sub r2, c[ LIGHT_POSITION ], r0
dp3 r3.x, r2, r2
rsq r3.y, r3.x
mul r2, r2, r3.y
dst r4, r3.xxxx, r3.yyyy
dp3 r4.x, r4, c[ LIGHT_ATTENUATION ]
rcp r4.x, r4.x
add r5, r2, c[ EYE_VECTOR ]
dp3 r5.w, r5, r5
rsq r5.w, r5.w
mul r5.xyz, r5, r5.w
dp3 r6.x, r1, r2
dp3 r6.y, r1, r5
mov r6.w, c[ SPECULAR_POWER ].y
lit r6, r6
mul r6.yz, r6, r4.x

; oD0 = (N.L) x attenuation x LIGHT_COLOR_1 + AMBIENT_COLOR for the point light at LIGHT_POSITION_1,
; the world position r0 and the world normal r1: L normalised in r2, d^2 in r3, 1/d in r4.yw,
; attenuation 1 / dot(dst(d^2, 1/d), LIGHT_ATTENUATION_1) in r6.x, N.L in r7.x
sub r2.xyz, c[ LIGHT_POSITION_1 ], r0
dp3 r3, r2, r2
rsq r4.yw, r3.x
mul r2.xyz, r2, r4.y
dst r5, r3, r4
dp4 r6.x, r5, c[ LIGHT_ATTENUATION_1 ]
rcp r6.x, r6.x
dp3 r7.x, r1, r2
mul r7.x, r7.x, r6.x
mad oD0, c[ LIGHT_COLOR_1 ], r7.x, c[ AMBIENT_COLOR ]

; r5.x = (N.L) x attenuation of the point light at LIGHT_POSITION_1, for the world position r0 and
; the unit world normal r1: L normalised in r2 (d^2 in r2.w, 1/d in r3.w), attenuation
; 1 / (a0 + a1 d + a2 d^2) from (1, d, d^2) and LIGHT_ATTENUATION_1 in r4.w
sub r2.xyz, c[ LIGHT_POSITION_1 ], r0
dp3 r2.w, r2, r2
rsq r3.w, r2.w
mul r2.xyz, r2, r3.w
dst r4, r2.wwww, r3.wwww
dp3 r4.w, r4, c[ LIGHT_ATTENUATION_1 ]
rcp r4.w, r4.w
dp3 r5.x, r1, r2
mul r5.x, r5.x, r4.w

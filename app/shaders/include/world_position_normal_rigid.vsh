; r0 = the position v0 in world space (all four rows of WORLD); r1.xyz = the normal v1 in world space,
; not renormalised: the world matrix is taken to hold rotation and translation only
dp4 r0.x, v0, c[ WORLD ]
dp4 r0.y, v0, c[ WORLD_1 ]
dp4 r0.z, v0, c[ WORLD_2 ]
dp4 r0.w, v0, c[ WORLD_3 ]
dp3 r1.x, v1, c[ WORLD ]
dp3 r1.y, v1, c[ WORLD_1 ]
dp3 r1.z, v1, c[ WORLD_2 ]

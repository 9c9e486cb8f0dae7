; WORLD_POSITION.xyz: the position v0 in world space; WORLD_NORMAL.xyz: the normal v1 in world
; space, renormalised (by the first three rows of WORLD)
dp4 WORLD_POSITION.x, v0, c[ WORLD ]
dp4 WORLD_POSITION.y, v0, c[ WORLD_1 ]
dp4 WORLD_POSITION.z, v0, c[ WORLD_2 ]
dp3 WORLD_NORMAL.x, v1, c[ WORLD ]
dp3 WORLD_NORMAL.y, v1, c[ WORLD_1 ]
dp3 WORLD_NORMAL.z, v1, c[ WORLD_2 ]
dp3 WORLD_NORMAL.w, WORLD_NORMAL, WORLD_NORMAL
rsq WORLD_NORMAL.w, WORLD_NORMAL.w
mul WORLD_NORMAL.xyz, WORLD_NORMAL, WORLD_NORMAL.w

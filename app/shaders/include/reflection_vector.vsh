; REFLECTED_RAY.xyz = E - 2 N (E.N): the unit eye-to-vertex ray E (kept in EYE_RAY) mirrored at the
; unit normal N (WORLD_NORMAL), E from the eye position EYE_VECTOR to WORLD_POSITION;
; EYE_DOT_NORMAL.x is scratch
sub EYE_RAY.xyz, WORLD_POSITION, c[ EYE_VECTOR ]
dp3 EYE_RAY.w, EYE_RAY, EYE_RAY
rsq EYE_RAY.w, EYE_RAY.w
mul EYE_RAY.xyz, EYE_RAY, EYE_RAY.w
dp3 EYE_DOT_NORMAL.x, EYE_RAY, WORLD_NORMAL
add EYE_DOT_NORMAL.x, EYE_DOT_NORMAL.x, EYE_DOT_NORMAL.x
mad REFLECTED_RAY.xyz, WORLD_NORMAL, -EYE_DOT_NORMAL.x, EYE_RAY

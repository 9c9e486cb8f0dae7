; oPos: the object-space position v0 in clip space, by the four rows of TRANSFORM_MATRIX (c0..c3)
dp4 oPos.x, v0, c[ TRANSFORM_MATRIX ]
dp4 oPos.y, v0, c[ TRANSFORM_MATRIX_1 ]
dp4 oPos.z, v0, c[ TRANSFORM_MATRIX_2 ]
dp4 oPos.w, v0, c[ TRANSFORM_MATRIX_3 ]

// Splits an affine matrix into translation, rotation and stretch by polar decomposition (Shoemake and
// Duff, "Polar Matrix Decomposition", Graphics Gems IV): M = T F R U K U^T, with the stretch rotation
// U and the sign F dropped. Used to turn matrix animation keys into position, rotation and scale keys.
#pragma once
#include <d3dx9.h>

// `m` in the row-vector convention (translation in the fourth row). The rotation is in D3DX layout
// (x, y, z, w); a mirror (negative determinant) is folded into the stretch sign, so the rotation is
// always proper. The scale factors are those of the stretch, ordered to lie closest to the axes.
void DecomposeMatrix(const D3DXMATRIX& m, D3DXVECTOR3* translation, D3DXQUATERNION* rotation, D3DXVECTOR3* scale);

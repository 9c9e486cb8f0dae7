#include "HvDecomposeMatrix.h"
#include <cmath>
#include <cstring>

// Column-vector convention throughout: a point is transformed as M p, translation in column 3.
namespace {
enum { X = 0, Y = 1, Z = 2, W = 3 };
typedef float HMatrix[4][4];

struct Quat {
  float x, y, z, w;
};

const float Tolerance = 1.0e-6f;  // the published convergence limit of the polar iteration
const double SqrtHalf = 0.7071067811865475244;

Quat MakeQuat(float x, float y, float z, float w) { return {x, y, z, w}; }
Quat Conj(Quat q) { return {-q.x, -q.y, -q.z, q.w}; }
Quat Mul(Quat l, Quat r) {
  Quat q;
  q.w = l.w * r.w - l.x * r.x - l.y * r.y - l.z * r.z;
  q.x = l.w * r.x + l.x * r.w + l.y * r.z - l.z * r.y;
  q.y = l.w * r.y + l.y * r.w + l.z * r.x - l.x * r.z;
  q.z = l.w * r.z + l.z * r.w + l.x * r.y - l.y * r.x;
  return q;
}

void Identity(HMatrix m) {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) m[i][j] = i == j ? 1.0f : 0.0f;
}
void Pad(HMatrix m) {
  for (int i = 0; i < 3; ++i) m[i][W] = m[W][i] = 0.0f;
  m[W][W] = 1.0f;
}
void Transpose3(HMatrix to, const HMatrix from) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) to[i][j] = from[j][i];
}
void Multiply3(const HMatrix a, const HMatrix b, HMatrix ab) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) ab[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
}
float Dot(const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
void Cross(const float* a, const float* b, float* c) {
  c[0] = a[1] * b[2] - a[2] * b[1];
  c[1] = a[2] * b[0] - a[0] * b[2];
  c[2] = a[0] * b[1] - a[1] * b[0];
}

// Largest absolute row sum (transposed: column sum) of the 3x3 part.
float Norm(const HMatrix m, bool columns) {
  float best = 0.0f;
  for (int i = 0; i < 3; ++i) {
    const float sum = columns ? std::fabs(m[0][i]) + std::fabs(m[1][i]) + std::fabs(m[2][i])
                              : std::fabs(m[i][0]) + std::fabs(m[i][1]) + std::fabs(m[i][2]);
    if (best < sum) best = sum;
  }
  return best;
}
float NormInf(const HMatrix m) { return Norm(m, false); }
float NormOne(const HMatrix m) { return Norm(m, true); }

// Column of the entry with the largest magnitude; -1 for a zero matrix.
int FindMaxColumn(const HMatrix m) {
  float best = 0.0f;
  int column = -1;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      if (std::fabs(m[i][j]) > best) {
        best = std::fabs(m[i][j]);
        column = j;
      }
  return column;
}

// Householder vector u that reflects v onto the z axis.
void MakeReflector(const float* v, float* u) {
  float s = std::sqrt(Dot(v, v));
  u[0] = v[0];
  u[1] = v[1];
  u[2] = v[2] + (v[2] < 0.0f ? -s : s);
  s = std::sqrt(2.0f / Dot(u, u));
  u[0] *= s;
  u[1] *= s;
  u[2] *= s;
}
void ReflectColumns(HMatrix m, const float* u) {
  for (int i = 0; i < 3; ++i) {
    const float s = u[0] * m[0][i] + u[1] * m[1][i] + u[2] * m[2][i];
    for (int j = 0; j < 3; ++j) m[j][i] -= u[j] * s;
  }
}
void ReflectRows(HMatrix m, const float* u) {
  for (int i = 0; i < 3; ++i) {
    const float s = Dot(u, m[i]);
    for (int j = 0; j < 3; ++j) m[i][j] -= u[j] * s;
  }
}

// Polar factor of a matrix of rank 1 (or 0).
void DoRank1(HMatrix m, HMatrix q) {
  Identity(q);
  const int col = FindMaxColumn(m);
  if (col < 0) return;  // rank 0
  float v1[3] = {m[0][col], m[1][col], m[2][col]};
  MakeReflector(v1, v1);
  ReflectColumns(m, v1);
  float v2[3] = {m[2][0], m[2][1], m[2][2]};
  MakeReflector(v2, v2);
  ReflectRows(m, v2);
  if (m[2][2] < 0.0f) q[2][2] = -1.0f;
  ReflectColumns(q, v1);
  ReflectRows(q, v2);
}

// Polar factor of a matrix of rank 2 (falls back to rank 1).
void DoRank2(HMatrix m, HMatrix madjT, HMatrix q) {
  const int col = FindMaxColumn(madjT);
  if (col < 0) {
    DoRank1(m, q);
    return;
  }
  float v1[3] = {madjT[0][col], madjT[1][col], madjT[2][col]};
  MakeReflector(v1, v1);
  ReflectColumns(m, v1);
  float v2[3];
  Cross(m[0], m[1], v2);
  MakeReflector(v2, v2);
  ReflectRows(m, v2);
  const float w = m[0][0], x = m[0][1], y = m[1][0], z = m[1][1];
  float c, s, d;
  if (w * z > x * y) {
    c = z + w;
    s = y - x;
    d = std::sqrt(c * c + s * s);
    c /= d;
    s /= d;
    q[0][0] = q[1][1] = c;
    q[1][0] = s;
    q[0][1] = -s;
  } else {
    c = z - w;
    s = y + x;
    d = std::sqrt(c * c + s * s);
    c /= d;
    s /= d;
    q[1][1] = c;
    q[0][0] = -c;
    q[0][1] = q[1][0] = s;
  }
  q[0][2] = q[2][0] = q[1][2] = q[2][1] = 0.0f;
  q[2][2] = 1.0f;
  ReflectColumns(q, v1);
  ReflectRows(q, v2);
}

void AdjointTranspose(const HMatrix m, HMatrix madjT) {
  Cross(m[1], m[2], madjT[0]);
  Cross(m[2], m[0], madjT[1]);
  Cross(m[0], m[1], madjT[2]);
}

// M = Q S with Q orthogonal and S symmetric positive semi-definite; returns det(Q S).
float PolarDecompose(const HMatrix m, HMatrix q, HMatrix s) {
  HMatrix mk, madjTk, ek;
  float det = 0.0f;
  Transpose3(mk, m);
  float mOne = NormOne(mk), mInf = NormInf(mk), eOne;
  do {
    AdjointTranspose(mk, madjTk);
    det = Dot(mk[0], madjTk[0]);
    if (det == 0.0f) {
      // Singular: the polar factor comes from reflections. Written to a matrix of its own, as the
      // rank-1 step would otherwise reset the very matrix it is about to read.
      HMatrix qk;
      DoRank2(mk, madjTk, qk);
      std::memcpy(mk, qk, sizeof mk);
      break;
    }
    const float madjTOne = NormOne(madjTk), madjTInf = NormInf(madjTk);
    const float gamma = std::sqrt(std::sqrt((madjTOne * madjTInf) / (mOne * mInf)) / std::fabs(det));
    const float g1 = gamma * 0.5f;
    const float g2 = 0.5f / (gamma * det);
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) {
        ek[i][j] = mk[i][j];
        mk[i][j] = g1 * mk[i][j] + g2 * madjTk[i][j];
        ek[i][j] -= mk[i][j];
      }
    eOne = NormOne(ek);
    mOne = NormOne(mk);
    mInf = NormInf(mk);
  } while (eOne > mOne * Tolerance);
  Transpose3(q, mk);
  Pad(q);
  Multiply3(mk, m, s);
  Pad(s);
  for (int i = 0; i < 3; ++i)
    for (int j = i; j < 3; ++j) s[i][j] = s[j][i] = 0.5f * (s[i][j] + s[j][i]);
  return det;
}

// Eigenvalues of the symmetric S by Jacobi rotations; U receives the eigenvectors as columns.
D3DXVECTOR3 SpectralDecompose(const HMatrix s, HMatrix u) {
  static const int next[] = {Y, Z, X};
  double diag[3] = {s[X][X], s[Y][Y], s[Z][Z]};
  double offD[3] = {s[Y][Z], s[Z][X], s[X][Y]};  // off-diagonal, by omitted index
  Identity(u);
  for (int sweep = 20; sweep > 0; --sweep) {
    const double sm = std::fabs(offD[X]) + std::fabs(offD[Y]) + std::fabs(offD[Z]);
    if (sm == 0.0) break;
    for (int i = Z; i >= X; --i) {
      const int p = next[i], q = next[p];
      const double absOffDi = std::fabs(offD[i]);
      const double g = 100.0 * absOffDi;
      if (absOffDi > 0.0) {
        double t;
        const double h = diag[q] - diag[p];
        const double absH = std::fabs(h);
        if (absH + g == absH) {
          t = offD[i] / h;
        } else {
          const double theta = 0.5 * h / offD[i];
          t = 1.0 / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
          if (theta < 0.0) t = -t;
        }
        const double c = 1.0 / std::sqrt(t * t + 1.0), sn = t * c;
        const double tau = sn / (c + 1.0);
        const double ta = t * offD[i];
        offD[i] = 0.0;
        diag[p] -= ta;
        diag[q] += ta;
        const double offDq = offD[q];
        offD[q] -= sn * (offD[p] + tau * offD[q]);
        offD[p] += sn * (offDq - tau * offD[p]);
        for (int j = Z; j >= X; --j) {
          const double a = u[j][p], b = u[j][q];
          u[j][p] -= float(sn * (b + tau * a));
          u[j][q] += float(sn * (a - tau * b));
        }
      }
    }
  }
  return D3DXVECTOR3(float(diag[X]), float(diag[Y]), float(diag[Z]));
}

// Unit quaternion of a proper rotation matrix, looking for a large component first.
Quat QuatFromMatrix(const HMatrix m) {
  Quat q;
  const double tr = m[X][X] + m[Y][Y] + m[Z][Z];
  if (tr >= 0.0) {
    double s = std::sqrt(tr + m[W][W]);
    q.w = float(s * 0.5);
    s = 0.5 / s;
    q.x = float((m[Z][Y] - m[Y][Z]) * s);
    q.y = float((m[X][Z] - m[Z][X]) * s);
    q.z = float((m[Y][X] - m[X][Y]) * s);
  } else {
    int h = X;
    if (m[Y][Y] > m[X][X]) h = Y;
    if (m[Z][Z] > m[h][h]) h = Z;
    const int i = h, j = (h + 1) % 3, k = (h + 2) % 3;
    float* c[3] = {&q.x, &q.y, &q.z};
    double s = std::sqrt((m[i][i] - (m[j][j] + m[k][k])) + m[W][W]);
    *c[i] = float(s * 0.5);
    s = 0.5 / s;
    *c[j] = float((m[i][j] + m[j][i]) * s);
    *c[k] = float((m[k][i] + m[i][k]) * s);
    q.w = float((m[k][j] - m[j][k]) * s);
  }
  if (m[W][W] != 1.0f) {
    const float f = 1.0f / std::sqrt(m[W][W]);
    q = {q.x * f, q.y * f, q.z * f, q.w * f};
  }
  return q;
}

void Swap(float* a, int i, int j) {
  a[3] = a[i];
  a[i] = a[j];
  a[j] = a[3];
}
void Cycle(float* a, bool forward) {
  if (forward) {
    a[3] = a[0];
    a[0] = a[1];
    a[1] = a[2];
    a[2] = a[3];
  } else {
    a[3] = a[2];
    a[2] = a[1];
    a[1] = a[0];
    a[0] = a[3];
  }
}
float Signed(bool negative, float v) { return negative ? -v : v; }

// The axis permutation (and sign) p that brings the stretch rotation q closest to the identity;
// k is permuted to match.
Quat Snuggle(Quat q, D3DXVECTOR3* k) {
  Quat p = {0, 0, 0, 1};
  float ka[4] = {k->x, k->y, k->z, 0};
  int turn = -1;
  if (ka[X] == ka[Y]) turn = ka[X] == ka[Z] ? W : Z;
  else if (ka[X] == ka[Z]) turn = Y;
  else if (ka[Y] == ka[Z]) turn = X;
  if (turn >= 0) {
    // Two or three equal factors: only the rotation about the distinct axis matters.
    static const Quat qxtoz = {0, float(SqrtHalf), 0, float(SqrtHalf)};
    static const Quat qytoz = {float(SqrtHalf), 0, 0, float(SqrtHalf)};
    static const Quat qppmm = {0.5f, 0.5f, -0.5f, -0.5f};
    static const Quat qpppp = {0.5f, 0.5f, 0.5f, 0.5f};
    static const Quat qmpmm = {-0.5f, 0.5f, -0.5f, -0.5f};
    static const Quat qpppm = {0.5f, 0.5f, 0.5f, -0.5f};
    static const Quat q0001 = {0.0f, 0.0f, 0.0f, 1.0f};
    static const Quat q1000 = {1.0f, 0.0f, 0.0f, 0.0f};
    Quat qtoz;
    switch (turn) {
    default: return Conj(q);
    case X: q = Mul(q, qtoz = qxtoz); Swap(ka, X, Z); break;
    case Y: q = Mul(q, qtoz = qytoz); Swap(ka, Y, Z); break;
    case Z: qtoz = q0001; break;
    }
    q = Conj(q);
    double mag[3];
    bool neg[3];
    mag[0] = double(q.z) * q.z + double(q.w) * q.w - 0.5;
    mag[1] = double(q.x) * q.z - double(q.y) * q.w;
    mag[2] = double(q.y) * q.z + double(q.x) * q.w;
    for (int i = 0; i < 3; ++i)
      if ((neg[i] = mag[i] < 0.0)) mag[i] = -mag[i];
    int win;
    if (mag[0] > mag[1]) win = mag[0] > mag[2] ? 0 : 2;
    else win = mag[1] > mag[2] ? 1 : 2;
    switch (win) {
    case 0: p = neg[0] ? q1000 : q0001; break;
    case 1: p = neg[1] ? qppmm : qpppp; Cycle(ka, false); break;
    case 2: p = neg[2] ? qmpmm : qpppm; Cycle(ka, true); break;
    }
    const Quat qp = Mul(q, p);
    const float t = float(std::sqrt(mag[win] + 0.5));
    p = Mul(p, MakeQuat(0.0f, 0.0f, -qp.z / t, qp.w / t));
    p = Mul(qtoz, Conj(p));
  } else {
    float qa[4] = {q.x, q.y, q.z, q.w}, pa[4] = {0, 0, 0, 0};
    bool neg[4];
    bool par = false;
    for (int i = 0; i < 4; ++i) {
      if ((neg[i] = qa[i] < 0.0f)) qa[i] = -qa[i];
      par ^= neg[i];
    }
    // The two largest components, indices hi and lo.
    int lo = qa[0] > qa[1] ? 0 : 1;
    int hi = qa[2] > qa[3] ? 2 : 3;
    if (qa[lo] > qa[hi]) {
      if (qa[lo ^ 1] > qa[hi]) {
        hi = lo;
        lo ^= 1;
      } else {
        const int t = hi;
        hi = lo;
        lo = t;
      }
    } else if (qa[hi ^ 1] > qa[lo]) {
      lo = hi ^ 1;
    }
    const double all = (qa[0] + qa[1] + qa[2] + qa[3]) * 0.5;
    const double two = (qa[hi] + qa[lo]) * SqrtHalf;
    const double big = qa[hi];
    if (all > two) {
      if (all > big) {
        for (int i = 0; i < 4; ++i) pa[i] = Signed(neg[i], 0.5f);
        Cycle(ka, par);
      } else {
        pa[hi] = Signed(neg[hi], 1.0f);
      }
    } else if (two > big) {
      pa[hi] = Signed(neg[hi], float(SqrtHalf));
      pa[lo] = Signed(neg[lo], float(SqrtHalf));
      if (lo > hi) {
        const int t = hi;
        hi = lo;
        lo = t;
      }
      if (hi == W) {
        static const int toAxis[] = {1, 2, 0};
        hi = toAxis[lo];
        lo = 3 - hi - lo;
      }
      Swap(ka, hi, lo);
    } else {
      pa[hi] = Signed(neg[hi], 1.0f);
    }
    p = {-pa[0], -pa[1], -pa[2], pa[3]};
  }
  k->x = ka[X];
  k->y = ka[Y];
  k->z = ka[Z];
  return p;
}
}

void DecomposeMatrix(const D3DXMATRIX& m, D3DXVECTOR3* translation, D3DXQUATERNION* rotation, D3DXVECTOR3* scale) {
  HMatrix a, q, s, u;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) a[i][j] = m(j, i);
  *translation = D3DXVECTOR3(a[X][W], a[Y][W], a[Z][W]);
  float det = PolarDecompose(a, q, s);
  // A singular matrix has det 0, yet its reflected factor may still be improper: the sign of Q
  // itself decides, so that the rotation is always proper.
  if (det == 0.0f) {
    float c[3];
    Cross(q[1], q[2], c);
    det = Dot(q[0], c);
  }
  if (det < 0.0f)
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) q[i][j] = -q[i][j];
  const Quat r = QuatFromMatrix(q);
  D3DXVECTOR3 k = SpectralDecompose(s, u);
  Snuggle(QuatFromMatrix(u), &k);  // orders k; the stretch rotation itself is not needed
  *rotation = D3DXQUATERNION(r.x, r.y, r.z, r.w);
  *scale = k;
}

#pragma once
// The arithmetic of one plane rotation of the generalized Jacobi method:
// x <- x + gamma·y and y <- y + alpha·(old x), element by element. Every
// variant gives the same bits as the plain formula: the lanes are independent
// and no multiply-add is fused.
//
// Layout served: a PairMatrix row is a run of cells of two doubles (S, Q), so
// one cell is a pair of lanes and a stretch of cells is a run of doubles; the
// eigenvectors are kept as rows of doubles.
#include <cstddef>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace calcdin::kernels {

// One cell: the S and Q entries side by side.
inline void turnPairPlain(double* x, double* y, double gamma, double alpha) {
  for (int lane = 0; lane < 2; ++lane) {
    const double oldX = x[lane];
    x[lane] = oldX + gamma * y[lane];
    y[lane] = y[lane] + alpha * oldX;
  }
}

#ifdef __SSE2__
using Lanes = __m128d;
inline Lanes broadcast(double v) { return _mm_set1_pd(v); }
inline void turnPair(double* x, double* y, Lanes gamma, Lanes alpha) {
  const __m128d oldX = _mm_loadu_pd(x), oldY = _mm_loadu_pd(y);
  _mm_storeu_pd(x, _mm_add_pd(oldX, _mm_mul_pd(gamma, oldY)));
  _mm_storeu_pd(y, _mm_add_pd(oldY, _mm_mul_pd(alpha, oldX)));
}
#else
struct Lanes {
  double value;
};
inline Lanes broadcast(double v) { return {v}; }
inline void turnPair(double* x, double* y, Lanes gamma, Lanes alpha) { turnPairPlain(x, y, gamma.value, alpha.value); }
#endif

// A run of `count` doubles (x and y apart).
using TurnRun = void (*)(double* x, double* y, int count, double gamma, double alpha);

// Two lanes a step, with the instructions every processor of the target has.
void turnRunPortable(double* x, double* y, int count, double gamma, double alpha);

// Down a band of columns: in each of `rows` rows, `stride` doubles apart, the
// cells x[i] and y[i], i < cells, turned by gamma[i] and alpha[i] (a cell being
// a pair of lanes).
using TurnBand = void (*)(double* x, double* y, std::size_t stride, int rows, const double* gamma, const double* alpha);
constexpr int kMaxBandCells = 8;

enum class KernelSet {
  kFastest,   // four lanes a step where the processor has AVX
  kPortable,  // turnRunPortable everywhere
};

TurnRun turnRunFor(KernelSet set);
// cells 1..kMaxBandCells.
TurnBand turnBandFor(KernelSet set, int cells);

// True when kFastest uses other instructions than kPortable on this machine.
bool fastestDiffersFromPortable();

}  // namespace calcdin::kernels

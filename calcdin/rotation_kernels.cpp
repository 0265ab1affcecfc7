#include "calcdin/rotation_kernels.h"

#include <array>
#include <utility>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace calcdin::kernels {

namespace {
void turnTail(double* x, double* y, int from, int count, double gamma, double alpha) {
  for (int i = from; i < count; ++i) {
    const double oldX = x[i];
    x[i] = oldX + gamma * y[i];
    y[i] = y[i] + alpha * oldX;
  }
}
}  // namespace

namespace {
template <int C>
void turnBandPortable(double* x, double* y, std::size_t stride, int rows, const double* gamma, const double* alpha) {
  Lanes g[C], a[C];
  for (int i = 0; i < C; ++i) g[i] = broadcast(gamma[i]), a[i] = broadcast(alpha[i]);
  for (int m = 0; m < rows; ++m, x += stride, y += stride)
    for (int i = 0; i < C; ++i) turnPair(x + 2 * i, y + 2 * i, g[i], a[i]);
}

template <int... C>
constexpr std::array<TurnBand, sizeof...(C)> portableBands(std::integer_sequence<int, C...>) {
  return {turnBandPortable<C + 1>...};
}
constexpr auto kPortableBands = portableBands(std::make_integer_sequence<int, kMaxBandCells>{});
}  // namespace

void turnRunPortable(double* x, double* y, int count, double gamma, double alpha) {
  const Lanes g = broadcast(gamma), a = broadcast(alpha);
  int i = 0;
  for (; i + 2 <= count; i += 2) turnPair(x + i, y + i, g, a);
  turnTail(x, y, i, count, gamma, alpha);
}

#if defined(__x86_64__) && defined(__GNUC__)
namespace {
__attribute__((target("avx"))) void turnRunAvx(double* x, double* y, int count, double gamma, double alpha) {
  const __m256d g = _mm256_set1_pd(gamma), a = _mm256_set1_pd(alpha);
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m256d oldX = _mm256_loadu_pd(x + i), oldY = _mm256_loadu_pd(y + i);
    _mm256_storeu_pd(x + i, _mm256_add_pd(oldX, _mm256_mul_pd(g, oldY)));
    _mm256_storeu_pd(y + i, _mm256_add_pd(oldY, _mm256_mul_pd(a, oldX)));
  }
  turnTail(x, y, i, count, gamma, alpha);
}

// Two cells a step, each lane with its own rotation's factor.
template <int C>
__attribute__((target("avx"))) void turnBandAvx(double* x, double* y, std::size_t stride, int rows, const double* gamma,
                                                const double* alpha) {
  constexpr int kPairs = C / 2;
  __m256d g[kPairs > 0 ? kPairs : 1], a[kPairs > 0 ? kPairs : 1];
  for (int p = 0; p < kPairs; ++p) {
    g[p] = _mm256_setr_pd(gamma[2 * p], gamma[2 * p], gamma[2 * p + 1], gamma[2 * p + 1]);
    a[p] = _mm256_setr_pd(alpha[2 * p], alpha[2 * p], alpha[2 * p + 1], alpha[2 * p + 1]);
  }
  const __m128d gLast = _mm_set1_pd(gamma[C - 1]), aLast = _mm_set1_pd(alpha[C - 1]);
  for (int m = 0; m < rows; ++m, x += stride, y += stride) {
    for (int p = 0; p < kPairs; ++p) {
      const __m256d oldX = _mm256_loadu_pd(x + 4 * p), oldY = _mm256_loadu_pd(y + 4 * p);
      _mm256_storeu_pd(x + 4 * p, _mm256_add_pd(oldX, _mm256_mul_pd(g[p], oldY)));
      _mm256_storeu_pd(y + 4 * p, _mm256_add_pd(oldY, _mm256_mul_pd(a[p], oldX)));
    }
    if (C % 2 != 0) {
      const __m128d oldX = _mm_loadu_pd(x + 2 * (C - 1)), oldY = _mm_loadu_pd(y + 2 * (C - 1));
      _mm_storeu_pd(x + 2 * (C - 1), _mm_add_pd(oldX, _mm_mul_pd(gLast, oldY)));
      _mm_storeu_pd(y + 2 * (C - 1), _mm_add_pd(oldY, _mm_mul_pd(aLast, oldX)));
    }
  }
}

template <int... C>
constexpr std::array<TurnBand, sizeof...(C)> avxBands(std::integer_sequence<int, C...>) {
  return {turnBandAvx<C + 1>...};
}
constexpr auto kAvxBands = avxBands(std::make_integer_sequence<int, kMaxBandCells>{});

TurnRun fastest() {
  static const TurnRun chosen = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx") ? turnRunAvx : turnRunPortable;
  }();
  return chosen;
}
}  // namespace
#else
namespace {
TurnRun fastest() { return turnRunPortable; }
}  // namespace
#endif

#if defined(__x86_64__) && defined(__GNUC__)
TurnBand turnBandFor(KernelSet set, int cells) {
  return set == KernelSet::kFastest && fastest() == turnRunAvx ? kAvxBands[cells - 1] : kPortableBands[cells - 1];
}
#else
TurnBand turnBandFor(KernelSet, int cells) { return kPortableBands[cells - 1]; }
#endif

TurnRun turnRunFor(KernelSet set) { return set == KernelSet::kFastest ? fastest() : turnRunPortable; }

bool fastestDiffersFromPortable() { return fastest() != turnRunPortable; }

}  // namespace calcdin::kernels

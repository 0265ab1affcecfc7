#include "calcdin/rotation_kernels.h"

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

TurnRun turnRunFor(KernelSet set) { return set == KernelSet::kFastest ? fastest() : turnRunPortable; }

bool fastestDiffersFromPortable() { return fastest() != turnRunPortable; }

}  // namespace calcdin::kernels

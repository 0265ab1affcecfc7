#include "calcdin/vector_turner.h"

#include <chrono>
#include <system_error>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace calcdin {

namespace {

// Spins a while, then gives the processor away, then sleeps in short naps:
// the other side is usually a few rotations away, far less than a sleep takes.
template <class Ready>
void waitUntil(const std::atomic<std::size_t>& watched, Ready ready) {
  for (int round = 0; !ready(watched.load(std::memory_order_acquire)); ++round) {
    if (round < 4000) {
#ifdef __SSE2__
      _mm_pause();
#endif
    } else if (round < 8000) {
      std::this_thread::yield();
    } else {
      std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
  }
}

}  // namespace

VectorTurner::VectorTurner(double* phiT, std::size_t stride, int n, kernels::TurnRun turnRun, bool alongside)
    : phiT_(phiT), stride_(stride), n_(n), turnRun_(turnRun) {
  if (!alongside || std::thread::hardware_concurrency() < 2) return;
  try {
    helper_ = std::thread([this] { work(); });
  } catch (const std::system_error&) {
    // No thread to be had: the rotations are applied here as they come.
  }
}

void VectorTurner::apply(const Rotation& r) const {
  turnRun_(phiT_ + static_cast<std::size_t>(r.k) * stride_ + 1, phiT_ + static_cast<std::size_t>(r.j) * stride_ + 1, n_,
           r.gamma, r.alpha);
}

void VectorTurner::push(const Rotation& r) {
  const std::size_t given = given_.load(std::memory_order_relaxed);
  waitUntil(applied_, [given](std::size_t applied) { return given - applied < kSlots; });
  ring_[given % kSlots] = r;
  given_.store(given + 1, std::memory_order_release);
}

void VectorTurner::turn(int k, int j, double gamma, double alpha) {
  if (helper_.joinable())
    push({k, j, gamma, alpha});
  else
    apply({k, j, gamma, alpha});
}

void VectorTurner::finish() {
  if (!helper_.joinable()) return;
  push({});
  helper_.join();
}

void VectorTurner::work() {
  for (std::size_t next = 0;; ++next) {
    waitUntil(given_, [next](std::size_t given) { return given > next; });
    const Rotation r = ring_[next % kSlots];
    if (r.k == 0) return;
    apply(r);
    applied_.store(next + 1, std::memory_order_release);
  }
}

}  // namespace calcdin

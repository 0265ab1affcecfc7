#include "calcdin/vector_turner.h"

#include <chrono>
#include <system_error>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace calcdin {

namespace {

void pause() {
#ifdef __SSE2__
  _mm_pause();
#endif
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
  // A full ring waits for the helper, which is seldom behind: a short spin,
  // then naps.
  for (int round = 0; given - applied_.load(std::memory_order_acquire) >= kSlots; ++round) {
    if (round < 2000)
      pause();
    else
      std::this_thread::sleep_for(std::chrono::microseconds(20));
  }
  ring_[given % kSlots] = r;
  if (r.k == 0) finishing_.store(true);
  given_.store(given + 1);
  // A helper asleep is woken for a batch, or for the end.
  if (sleeping_.load() && (r.k == 0 || given + 1 >= applied_.load(std::memory_order_acquire) + kBatch)) {
    std::lock_guard<std::mutex> lock(mutex_);
    wake_.notify_one();
  }
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

// Applies what has been given; when nothing is, sleeps until a batch is
// waiting, so that the helper takes a processor only for the work itself.
void VectorTurner::work() {
  for (std::size_t next = 0;;) {
    std::size_t given = given_.load(std::memory_order_acquire);
    if (given == next) {
      std::unique_lock<std::mutex> lock(mutex_);
      sleeping_.store(true);
      wake_.wait(lock, [&] {
        given = given_.load();
        return given >= next + kBatch || finishing_.load();
      });
      sleeping_.store(false);
      given = given_.load(std::memory_order_acquire);
    }
    for (; next < given; ++next) {
      const Rotation r = ring_[next % kSlots];
      if (r.k == 0) return;
      apply(r);
      applied_.store(next + 1, std::memory_order_release);
    }
  }
}

}  // namespace calcdin

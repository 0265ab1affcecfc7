#include "calcdin/vector_turner.h"

#include <algorithm>
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
    : phiT_(phiT),
      stride_(stride),
      n_(n),
      turnRun_(turnRun),
      slots_(alongside && std::thread::hardware_concurrency() >= 2 ? kSlots : kBatch),
      ring_(slots_) {
  if (slots_ != kSlots) return;
  try {
    helper_ = std::thread([this] { work(); });
  } catch (const std::system_error&) {
    // No thread to be had: the rotations are applied here, a batch at a time.
  }
}

void VectorTurner::apply(std::size_t from, std::size_t to) const {
  const Rotation* const first = ring_.data() + from % slots_;
  const std::size_t count = to - from;
  for (int column = 1; column <= n_; column += kStretch) {
    const int width = std::min(kStretch, n_ + 1 - column);
    for (const Rotation* r = first; r != first + count; ++r)
      turnRun_(phiT_ + static_cast<std::size_t>(r->k) * stride_ + column,
               phiT_ + static_cast<std::size_t>(r->j) * stride_ + column, width, r->gamma, r->alpha);
  }
}

void VectorTurner::push(const Rotation& r) {
  const std::size_t given = given_.load(std::memory_order_relaxed);
  // A full ring waits for the helper, which is seldom behind: a short spin,
  // then naps.
  for (int round = 0; given - applied_.load(std::memory_order_acquire) >= slots_; ++round) {
    if (round < 2000)
      pause();
    else
      std::this_thread::sleep_for(std::chrono::microseconds(20));
  }
  ring_[given % slots_] = r;
  given_.store(given + 1);
  wake(given + 1);
}

// A helper asleep is woken once, when `given` reaches the count it waits for.
void VectorTurner::wake(std::size_t given) {
  std::size_t wakeAt = wakeAt_.load();
  if (wakeAt != 0 && given >= wakeAt && wakeAt_.compare_exchange_strong(wakeAt, 0)) {
    std::lock_guard<std::mutex> lock(mutex_);
    wake_.notify_one();
  }
}

void VectorTurner::turn(int k, int j, double gamma, double alpha) {
  if (helper_.joinable()) {
    push({k, j, gamma, alpha});
    return;
  }
  const std::size_t given = given_.load(std::memory_order_relaxed);
  ring_[given % slots_] = Rotation{k, j, gamma, alpha};
  given_.store(given + 1, std::memory_order_relaxed);
  const std::size_t applied = applied_.load(std::memory_order_relaxed);
  if (given + 1 - applied == kBatch) {
    apply(applied, given + 1);
    applied_.store(given + 1, std::memory_order_relaxed);
  }
}

void VectorTurner::finish() {
  if (helper_.joinable()) {
    finishing_.store(true);
    wake(static_cast<std::size_t>(-1));  // whatever count it waits for: the end
    helper_.join();
    applied_.store(given_.load());
    return;
  }
  const std::size_t given = given_.load(std::memory_order_relaxed);
  apply(applied_.load(std::memory_order_relaxed), given);
  applied_.store(given, std::memory_order_relaxed);
}

// Applies the rotations a batch at a time; while less than a batch waits,
// sleeps, so that the helper takes a processor only for the work itself. The
// batches start at multiples of kBatch, so none wraps round the ring.
void VectorTurner::work() {
  for (std::size_t next = 0;;) {
    // The end is looked at first: once it is seen, every rotation is given.
    bool last = finishing_.load();
    std::size_t given = given_.load();
    if (!last && given - next < kBatch) {
      std::unique_lock<std::mutex> lock(mutex_);
      wakeAt_.store(next + kBatch);
      wake_.wait(lock, [&] {
        last = finishing_.load();
        given = given_.load();
        return last || given - next >= kBatch;
      });
      wakeAt_.store(0);
    }
    const std::size_t end = std::min(given, next + kBatch);
    apply(next, end);
    next = end;
    applied_.store(next, std::memory_order_release);
    if (last && next == given) return;
  }
}

}  // namespace calcdin

#pragma once
// The eigenvectors take every rotation of the eigen solution, in the order the
// solution makes them. Where the machine has a second processor they are
// turned there while the solution goes on with the system's cells: the same
// operations on the same values in the same order, so the same bits.
//
// Rotations are applied a batch at a time, a stretch of columns at a time:
// every rotation of the batch turns the first stretch of its two rows, then
// the next stretch, and so on. An entry of a row meets the batch's rotations
// in their order, as it would one rotation at a time, while the stretch of
// every row the batch touches stays in the processor's cache.
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <vector>
#include <mutex>
#include <thread>

#include "calcdin/rotation_kernels.h"

namespace calcdin {

class VectorTurner {
 public:
  // Rows 1..n of `phiT` (row r at phiT + r·stride) hold the eigenvectors;
  // `alongside` asks for the second processor (taken only where there is one).
  VectorTurner(double* phiT, std::size_t stride, int n, kernels::TurnRun turnRun, bool alongside);
  ~VectorTurner() { finish(); }
  VectorTurner(const VectorTurner&) = delete;
  VectorTurner& operator=(const VectorTurner&) = delete;

  // Rows k and j: x <- x + gamma·y, y <- y + alpha·(old x).
  void turn(int k, int j, double gamma, double alpha);
  // Returns once every rotation given has been applied.
  void finish();

  // Rotations applied together.
  static constexpr std::size_t kBatch = 8192;

 private:
  struct Rotation {
    int k, j;
    double gamma, alpha;
  };
  // Slots [from, to) of the ring, which lie in one batch.
  void apply(std::size_t from, std::size_t to) const;
  void push(const Rotation& r);
  void wake(std::size_t given);
  void work();

  // A batch's rotations are applied to this many entries of each row at once.
  static constexpr int kStretch = 64;
  // Slots for the helper: it applies one batch while the next ones are given.
  static constexpr std::size_t kSlots = 4 * kBatch;
  double* const phiT_;
  const std::size_t stride_;
  const int n_;
  const kernels::TurnRun turnRun_;
  // kSlots slots, or one batch's where the rotations are applied in line.
  const std::size_t slots_;
  std::vector<Rotation> ring_;
  alignas(64) std::atomic<std::size_t> given_{0};    // written by the solution
  alignas(64) std::atomic<std::size_t> applied_{0};  // written by the helper thread
  // While the helper sleeps, the count of rotations given it waits for; 0
  // while it is awake or has been woken. Each sleep waits for a higher count,
  // so a waker that read one sleep's count cannot clear a later sleep.
  std::atomic<std::size_t> wakeAt_{0};
  std::atomic<bool> finishing_{false};  // the last rotation has been given
  std::mutex mutex_;
  std::condition_variable wake_;
  std::thread helper_;
};

}  // namespace calcdin

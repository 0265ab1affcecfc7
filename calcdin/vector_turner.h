#pragma once
// The eigenvectors take every rotation of the eigen solution, in the order the
// solution makes them. Where the machine has a second processor they are
// turned there while the solution goes on with the system's cells: the same
// operations on the same values in the same order, so the same bits.
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
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

 private:
  struct Rotation {
    int k = 0, j = 0;  // k 0: no more rotations
    double gamma = 0, alpha = 0;
  };
  void apply(const Rotation& r) const;
  void push(const Rotation& r);
  void work();

  static constexpr std::size_t kSlots = 1024;
  static constexpr std::size_t kBatch = 64;  // rotations a sleeping helper is woken for
  double* const phiT_;
  const std::size_t stride_;
  const int n_;
  const kernels::TurnRun turnRun_;
  std::array<Rotation, kSlots> ring_;
  alignas(64) std::atomic<std::size_t> given_{0};    // written by the solution
  alignas(64) std::atomic<std::size_t> applied_{0};  // written by the helper thread
  std::atomic<bool> sleeping_{false};   // the helper waits on wake_
  std::atomic<bool> finishing_{false};  // the last rotation has been given
  std::mutex mutex_;
  std::condition_variable wake_;
  std::thread helper_;
};

}  // namespace calcdin

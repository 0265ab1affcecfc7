#pragma once
// One run of the modal engine: command line, model, support elimination, assembly,
// eigen solution and results file. Returns the exit status; never exits.
#include <string>

#include "calcdin/jacobi.h"
#include "common/console.h"

namespace calcdin {

using namespace common;

// argv[1..4]: model file, bar record file, results file, elimination option.
int runCalcdin(int argc, const char* const* argv, Console& console);

// The console text that ends a run whose eigen solution failed.
std::string jacobiFailureText(const ModalSolution& solution);

// Bytes the dense matrices need for a system of N directions solved at order n.
double denseMemoryNeed(double N, double n, bool reduced);

// Memory the system can still give (MemAvailable, else physical memory), in bytes.
double availableMemory();

}  // namespace calcdin

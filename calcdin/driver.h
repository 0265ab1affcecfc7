#pragma once
// One run of the modal engine: command line, model, support elimination, assembly,
// eigen solution and results file.
#include <string>

#include "calcdin/jacobi.h"
#include "common/console_program.h"

namespace calcdin {

// Arguments: model file, bar record file, results file, elimination option.
extern const common::ConsoleProgram kCalcdin;

// The console text that ends a run whose eigen solution failed.
std::string jacobiFailureText(const ModalSolution& solution);

// The refusal of a solution with an eigenvalue or a mode shape that is no
// finite number (stiffness or mass beyond the range of the doubles), naming the
// mode; "" when every value is finite.
std::string nonFiniteModeText(const ModalSolution& solution);

// Bytes the dense matrices need for a system of N directions solved at order n.
double denseMemoryNeed(double N, double n, bool reduced);

// Memory the system can still give (MemAvailable, else physical memory), in bytes.
double availableMemory();

}  // namespace calcdin

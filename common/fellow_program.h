#pragma once
// Where a program of the suite finds another one it runs: in the folder named
// by the environment variable VIGAS_BIN when it is set and not empty (and only
// there), else beside its own executable, else on PATH. An installed program therefore runs
// its installed fellows, and a build's programs each other, without any path
// built in.
#include <cstddef>
#include <string>

namespace common {

// A fellow program's run that a suite program waits on: its console output is
// kept to this many last bytes, and calcest, which analyses the largest model
// in well under a second, is given this many seconds before it is stopped.
constexpr std::size_t kFellowOutputKept = 64 * 1024;
constexpr int kCalcestTimeLimitSeconds = 300;

// The path of the executable `name`, or "" when none is found.
std::string fellowProgram(const std::string& name);

// The executable `name` in the first folder of PATH that holds one, or "".
std::string programOnPath(const std::string& name);

// Where fellowProgram looked, for the message of a program not found: "no
// est\xE1 en VIGAS_BIN (FOLDER)", or "no est\xE1 junto a PROGRAM ni en el PATH
// (FOLDERS)" (Windows-1252).
std::string fellowNotFoundText();

}  // namespace common

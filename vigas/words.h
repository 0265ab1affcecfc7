#pragma once
// The codes of the model and loads files said in words (Spanish,
// Windows-1252), for the grid to show beside the code.
#include <string>

namespace vigas {

// Bar types 0 to 8: the end releases.
std::string barTypeWords(int type);
// A support code: the restraint of each direction, from common::SupportCode.
std::string supportCodeWords(int code);
// Load types 1 to 6.
std::string loadTypeWords(int ltype);
// Unit codes 0 to 4.
std::string unitSystemWords(int unitCode);
// x or y.
std::string directionWords(char dir);

}  // namespace vigas

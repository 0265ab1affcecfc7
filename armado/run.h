#pragma once
// armado NAME MODEL.dat PERMANENT.caf VARIABLE.caf [options]
//   designs the reinforcement of the continuous beam from the exact envelope
//   of its pattern loading and writes NAME.arm (the table at every station),
//   NAME.des (the bar schedule), NAMEa.svg and NAMEa.scr (the drawing), and
//   prints the summary.
#include "common/console_program.h"

namespace armado {

extern const common::ConsoleProgram kArmado;

}  // namespace armado

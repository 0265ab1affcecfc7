#pragma once
// alternancias NAME MODEL.dat PERMANENT.caf VARIABLE.caf [--gG F] [--gGinf F]
//              [--gQ F] [--ancho W] [--alto H] [--casos]
//   builds the exact envelope NAME of every arrangement of the variable load
//   over the spans (by superposition of the permanent load and each span's
//   variable load alone) and prints which spans govern each support and span;
//   with --casos also writes each governing arrangement as a project analysed
//   by calcest.
// alternancias --tabla PROJECT...
//   writes the force table (.esf) of projects calcest has analysed, and a .car
//   where there is none.
#include <string>

#include "common/console_program.h"

namespace alternancias {

extern const common::ConsoleProgram kAlternancias;

}  // namespace alternancias

#pragma once
// envolventes-batch NAME WIDTH HEIGHT [PROJECT...]: builds the envelope of the
// projects and writes NAME.esf, NAME.res, the scripts NAMEd.scr, NAMEm.scr,
// NAMEc.scr and the pictures NAMEd.svg, NAMEm.svg, NAMEc.svg.
#include "common/console_program.h"

namespace envelope {

// Every message goes to the console. The exit status is 0 when everything was
// written without a message, 1 otherwise. The files are put in place only on
// a run that ends with 0, all together; any other leaves the earlier ones as
// they were. One run at a time holds NAME.lock.
extern const common::ConsoleProgram kBatch;

}  // namespace envelope

#pragma once
// envolventes-batch NAME WIDTH HEIGHT [PROJECT...]: builds the envelope of the
// projects and writes NAME.esf, NAME.res, the scripts NAMEd.scr, NAMEm.scr,
// NAMEc.scr and the pictures NAMEd.svg, NAMEm.svg, NAMEc.svg.
#include <string>
#include <vector>

namespace envelope {

// Runs the front end on the arguments after the program name; every message is
// written to stdout. Returns the exit status: 0 when everything was written
// without a message, 1 otherwise. The files are put in place only on a run
// that ends with 0, all together; any other leaves the earlier ones as they
// were. One run at a time holds NAME.lock.
int runBatch(const std::vector<std::string>& args);

}  // namespace envelope

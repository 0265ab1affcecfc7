// Compiled, never linked, by the test calcest_print_checks_its_arguments: it
// must compile as it stands and fail with MISMATCH defined, because
// TextOut::print checks its arguments against its format as printf does.
#include "calcest/text_out.h"

using namespace common;

using namespace calcest;

void printEveryKind(TextOut& out) {
  out.print(" %d %5d %+15lf %7.3f %+20.15e %s %c\n", 1, 2, 3.0, 4.0, 5.0, "seis", 'y');
#ifdef MISMATCH
  out.print(" %lf\n", 7);
#endif
}

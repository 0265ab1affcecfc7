// Compiled, never linked, by the test common_format_checks_its_arguments: it
// must compile as it stands and fail with either MISMATCH_TEXT or
// MISMATCH_APPEND defined, because the formatter's entry points check their
// arguments against the format as printf does.
#include "common/format.h"

using namespace common;

void formatEveryKind(TextBuffer& out) {
  std::string text = formatText(" %d %5d %+15lf %.15g %s %c %zu\n", 1, 2, 3.0, 4.0, "cinco", 'y', sizeof text);
  appendFormat(out, " %d %7.3f %+20.15e %-6s\n", 1, 2.0, 3.0, "cuatro");
#ifdef MISMATCH_TEXT
  text = formatText(" %d\n", 1.0);
#endif
#ifdef MISMATCH_APPEND
  appendFormat(out, " %s\n", 7);
#endif
}

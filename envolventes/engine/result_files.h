#pragma once
// The envelope's result files: the force table NAME.esf (envelope of the
// projects' own force tables) and the report NAME.res.
#include <cstdio>
#include <string>
#include <vector>

#include "envolventes/engine/envelope_state.h"
#include "envolventes/engine/message_sink.h"

namespace envelope {

using namespace common;

struct ForceColumn {
  float max = 0, min = 0;
};

struct ForceTableRow {
  int index = 0;
  float x = 0;
  ForceColumn Qi, Qd, Mfi, Mfd, CC, Mf;
};

enum class ForceTableStep { Written, Stopped };

// Combines the force tables of `projects` (rows 0..n) and writes them to `out`.
// A table that does not open, or that ends before its rows (or cuts one short),
// ends the operation (Stopped, nothing written); a table whose point count
// differs from n, or that holds more rows than it says, stops the combining and
// the rows combined so far are written.
ForceTableStep writeForceTable(const std::vector<std::string>& projects, int n, FILE* out, MessageSink& sink);

// Writes the envelope force table of `table` (rows 0..n): the shear half, then
// the moment half.
void writeForceTableRows(const std::vector<ForceTableRow>& table, int n, FILE* out);

// The report of every envelope and the overall extremes.
void writeReport(const EnvelopeState& state, FILE* out);

}  // namespace envelope

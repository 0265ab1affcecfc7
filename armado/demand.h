#pragma once
// What the beam asks of its reinforcement: the exact envelope of the pattern
// loading (alternancias' code, in memory) at every station, in N and mm, with
// the moments of the characteristic, frequent and quasi-permanent
// combinations, the elastic deflection, the supports, the point loads and the
// section.
// This is the one place the envelope is taken; the true peak of a span's
// design moment between two stations is taken by the stations about it.
#include <string>
#include <vector>

#include "alternancias/exact_envelope.h"
#include "alternancias/patterns.h"
#include "projectfiles/model_input.h"

namespace armado {

// N per force unit and mm per length unit of a model's unit code, and their
// names as the summary writes them.
struct ModelUnits {
  double force = 0, length = 0;
  const char* forceName = "";
  const char* lengthName = "";
};
// Unit codes 0 (t, m), 1 (kN, m), 2 (klb, pie); false for 3 and 4, whose
// force unit the model does not tell.
bool unitsOf(int unitCode, ModelUnits& units);

// One point of the beam the design is made at. Moments sagging positive,
// shears as the envelope gives them, each the extreme of both sides of the
// point.
struct Station {
  double x = 0;                   // mm from the first node
  double Mmax = 0, Mmin = 0;      // design moments (N mm)
  double Vmax = 0, Vmin = 0;      // design shears (N)
  double MkMax = 0, MkMin = 0;    // characteristic moments (permanent and variable x1)
  double MfrMax = 0, MfrMin = 0;  // frequent moments (permanent x1, variable x psi1)
  double MqpMax = 0, MqpMin = 0;  // quasi-permanent moments (permanent x1, variable x psi2)
  double MgMax = 0, MgMin = 0;    // the permanent load's (of either side)
  // The lowest point of the characteristic combination's elastic line (mm,
  // upward positive): the model's E I, the supports' movement included.
  double elasticDeflection = 0;
  int span = 0;  // 0-based; a support's station belongs to the span on its left
};

struct DemandSpan {
  double start = 0, end = 0;  // mm
  bool overhang = false;
  int firstStation = 0, lastStation = 0;
};

struct BeamDemand {
  std::vector<Station> stations;  // left to right
  std::vector<DemandSpan> spans;
  std::vector<double> supports;                       // x (mm) of the supports that hold the beam up
  std::vector<double> pointLoads;                     // x (mm) of the point forces and moments of both loads files
  double b = 0, h = 0;                                // the section (mm)
  bool supportedStart = false, supportedEnd = false;  // an end on a support (else an overhang's tip)
  ModelUnits units;
};

// A continuous beam as alternancias takes it.
struct BeamInput {
  projectfiles::Model model;  // loads: the permanent ones
  std::vector<calcest::LoadOnBar> variable;
  std::vector<alternancias::Span> spans;
};

// The shares of the variable load in the frequent and the quasi-permanent
// combinations (EN 1990, 6.5.3).
struct ServiceShares {
  double psi1 = 0.5, psi2 = 0.3;
};

// The design envelope of the beam: the ultimate combination with `factors`;
// the characteristic, frequent and quasi-permanent ones by the same
// superposition at factors 1, psi1 and psi2 on the variable load (from the
// characteristic envelope and the permanent load alone). Throws
// RunError naming `datPath` when the model's units or sections do not allow a
// design.
BeamDemand beamDemand(const BeamInput& beam, const alternancias::Factors& factors, const ServiceShares& shares,
                      const std::string& datPath);

}  // namespace armado

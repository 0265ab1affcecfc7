#pragma once
// The design of a continuous beam's reinforcement from its envelope: the
// bars (continuous corner bars top and bottom, extra bars where the shifted
// envelope needs them, anchored past where they stop being needed), the
// stirrup zones, and at every station what is needed and what is provided.
// Units: N and mm. Free of files and windows.
#include <optional>
#include <string>
#include <vector>

#include "alternancias/exact_envelope.h"
#include "armado/bending.h"
#include "armado/demand.h"
#include "armado/materials.h"
#include "armado/serviceability.h"
#include "common/run_error.h"

namespace armado {

// The design data besides the beam: every value may be given on the command
// line; these are the defaults.
struct DesignData {
  Concrete concrete{"HA-25", 25};
  Steel steel{"B500S", 500};
  SafetyFactors safety;
  alternancias::Factors factors;
  double psi1 = 0.5;                                 // frequent share of the variable load
  double psi2 = 0.3;                                 // quasi-permanent share of the variable load
  double cover = 30;                                 // nominal cover to the stirrups (mm)
  double aggregate = 20;                             // largest aggregate size dg (mm)
  double supportWidth = 300;                         // the supports' width along the beam (mm)
  std::vector<double> diameters = {12, 16, 20, 25};  // of the longitudinal bars (mm), ascending
  double stirrupDiameter = 8;
  int legs = 2;  // vertical legs of a set of stirrups
  std::string exposure = "XC1";
  // The concrete's environment and history, for creep and shrinkage.
  double humidity = 50;               // relative humidity (%)
  double loadingAge = 28;             // t0, days
  char cement = 'N';                  // S, N or R
  std::optional<double> creep;        // phi(inf, t0) given; else from annex B
  std::optional<double> shrinkage;    // final eps_cs given; else from 3.1.4
  std::optional<double> finishesAge;  // days: finishes that cracks would damage are laid then
  ServiceShares shares() const { return {psi1, psi2}; }
};

enum Face { kBottom = 0, kTop = 1 };

// Where two pieces of a group's bars overlap (8.7): [start, end], x in mm.
struct Lap {
  double start = 0, end = 0;
};

// One piece of a group's bars as the schedule lists it: its mark, its
// straight part and its bends.
struct BarPiece {
  int mark = 0;
  double start = 0, end = 0, legStart = 0, legEnd = 0;
  double length() const { return end - start + legStart + legEnd; }
};

// A set of equal longitudinal bars of one face. The straight part runs from
// `start` to `end` (x, mm); a bend `legStart` or `legEnd` long (0: none) turns
// it towards the other face at that end (a top bar at a supported end turns
// down into the support). A group longer than the stock length is made of
// pieces lapped at `laps`, one mark each; the bars count once in a lap.
struct BarGroup {
  int mark = 0;
  int face = kBottom;
  double diameter = 0;
  int count = 0;
  int inner = 0;          // of them, in the second layer
  double depth = 0;       // centre of the first layer's bars from the face
  double innerDepth = 0;  // centre of the second layer's
  double start = 0, end = 0;
  double legStart = 0, legEnd = 0;
  bool continuous = false;
  // Reaching the beam's end, where it is anchored: the stations in the end's
  // cover count it.
  bool fromBeamStart = false, toBeamEnd = false;
  std::vector<Lap> laps;   // left to right
  std::vector<int> marks;  // of the pieces, left to right
  double length() const { return end - start + legStart + legEnd; }
  std::vector<BarPiece> pieces() const;
};

// Stirrups at one spacing over [start, end]: `count` sets, each in the middle
// of its own `spacing` of length.
struct StirrupZone {
  int span = 0;
  double start = 0, end = 0, spacing = 0;
  int count = 0;
};

// The stirrup's shape: a closed rectangle `width` x `height` (outside
// dimensions) with two 135-degree hooks, and `ties` single legs with hooks.
struct StirrupShape {
  double diameter = 0, width = 0, height = 0, hook = 0;
  int ties = 0;
  double length() const { return 2 * (width + height) + 2 * hook; }
  double tieLength() const { return height + 2 * hook; }
};

// One station's line of the design table.
struct StationDesign {
  double x = 0;
  double Mmax = 0, Mmin = 0;                              // envelope (N mm)
  double Tbottom = 0, Ttop = 0;                           // shifted envelope, tension on each face (N mm)
  double requiredBottom = 0, requiredTop = 0;             // mm2
  double providedBottom = 0, providedTop = 0;             // mm2
  double dBottom = 0, dTop = 0;                           // effective depths of the bars there (mm)
  double resistancePositive = 0, resistanceNegative = 0;  // M_Rd (N mm)
  double VEd = 0;                                         // the shear the stirrups are designed for (N)
  double VEdFull = 0;                                     // the shear at the station, not reduced near a support
  double cotTheta = 0;
  double VRdc = 0, VRdmax = 0, VRd = 0;
  double stirrupsRequired = 0, stirrupsProvided = 0;  // Asw / s (mm2 per mm)
  double spacingRequired = 0;                         // the spacing the station asks (mm)
  bool reducedNearSupport = false;
  double barSpacingBottom = 0, barSpacingTop = 0, barSpacingLimitBottom = 0, barSpacingLimitTop = 0;  // 0: no check
  double steelStressBottom = 0, steelStressTop = 0;  // quasi-permanent (MPa)
  int span = 0;
  // Serviceability: the combinations' moments (N mm); the largest stresses
  // under the characteristic combination and the concrete's under the
  // quasi-permanent one (cracked section, MPa); the crack widths (mm); the
  // long-term curvature (1/mm, sagging positive) and deflection (mm, upward,
  // from the span's supports); the elastic deflection (mm).
  double MkMax = 0, MkMin = 0, MfrMax = 0, MfrMin = 0, MqpMax = 0, MqpMin = 0;
  double concreteStress = 0, steelStress = 0, concreteStressQp = 0;
  double wkBottom = 0, wkTop = 0;
  double curvature = 0, longTerm = 0, elastic = 0;
};

// A span's deflections and its span/depth ratio (mm; downward positive).
struct SpanService {
  double length = 0;
  double elastic = 0;                                     // the characteristic combination's, E I of the model
  double longTerm = 0, at = 0;                            // quasi-permanent, cracked, creep and shrinkage; where
  double limit = 0;                                       // span / 250
  double afterFinishes = 0, afterAt = 0, afterLimit = 0;  // the part after the finishes; span / 500
  // 7.4.2: L/d against the limit; K, the ratios, the factor 310/sigma_s and
  // the span factor 7/L taken.
  double slenderness = 0, slendernessLimit = 0, K = 0, rho = 0, rhoPrime = 0, steelFactor = 1, spanFactor = 1;
};

// A crack width worked out at a place and face.
struct CrackCheck {
  double x = 0;
  int face = 0;
  bool support = false;
  double M = 0, Mcr = 0;  // quasi-permanent moment on the face, cracking moment (N mm)
  bool cracked = false;
  double sigmaS = 0, x0 = 0, d = 0;  // bars' stress (MPa), neutral axis and effective depth (mm)
  CrackWidth width;
};

// The serviceability of the design: the values used and what they give.
struct Service {
  double notionalSize = 0, phi = 0, epsCs = 0, EcEff = 0;
  double phiFinishes = 0, epsCsFinishes = 0;  // at the age the finishes are laid
  std::vector<SpanService> spans;
  std::vector<CrackCheck> cracks;  // every support and span peak, both faces
};

struct Design {
  DesignData data;
  Materials materials;
  BeamDemand demand;
  double b = 0, h = 0;
  double beamStart = 0, beamEnd = 0;  // the concrete's ends (mm): half a support past an end on one
  double shift = 0;                   // a_l (mm)
  double wk = 0;                      // the crack width aimed at (mm)
  std::vector<BarGroup> bars;         // by mark
  StirrupShape stirrup;
  std::vector<StirrupZone> stirrups;  // left to right
  std::vector<StationDesign> stations;
  Service service;
};

// Designs the beam, or throws RunError whose text names the place and the
// reason it cannot be designed (the strut fails, the bars do not fit, a bar
// cannot be anchored, a parameter out of its range).
Design designBeam(const BeamDemand& demand, const DesignData& data);

// "EN x = 12.40 m (TRAMO 2)": a place of the beam as the messages name it,
// in the model's length unit.
std::string placeText(const Design& design, double x);

// "ERROR: NO SE PUEDE ARMAR LA VIGA: why": the design cannot go on.
common::RunError refusal(const std::string& why);

// Whether the group's bars are at x: on their straight part, or in the
// beam's end beyond the end they are anchored at.
bool covers(const BarGroup& group, double x);

// The bars of one face at x, in layers below the compressed face of a moment
// that puts `tensionFace` in tension (for the resistance), and the area and
// centroid of the face's own bars.
struct FaceSteel {
  double area = 0, centroid = 0;  // centroid from the face (mm)
  int firstLayerCount = 0;
  double largestDiameter = 0, smallestDiameter = 0;
};
FaceSteel faceSteelAt(const std::vector<BarGroup>& bars, int face, double x);
std::vector<SteelLayer> sectionLayers(const std::vector<BarGroup>& bars, double h, int tensionFace, double x);

}  // namespace armado

#pragma once
// The report's pictures: the model with its supports and loads, the diagrams of
// deflection, moment and shear along the beam, and the mode shapes.
#include <memory>

#include "report_data.h"
#include "svg.h"

namespace informe {

// Model coordinates to the picture: X = x0 + x·scale, Y = y0 − y·scale.
struct ModelFrame {
  double x0 = 0, y0 = 0, scale = 1, width = 1000, height = 300;
  double X(double x) const { return x0 + x * scale; }
  double Y(double y) const { return y0 - y * scale; }
};
ModelFrame modelFrame(const Model& model);

std::unique_ptr<SvgPicture> modelPicture(const Model& model);

enum class DiagramKind { Deflection, Moment, Shear };
std::unique_ptr<SvgPicture> diagramPicture(const ReportData& data, DiagramKind kind);

// Mode `number` (1-based, ascending eigenvalue) drawn over the beam.
std::unique_ptr<SvgPicture> modePicture(const ReportData& data, int number);

// Transverse displacement of a bar's flexible part at ξ in [0, 1] from its end
// values, with the cubic the bar's end releases allow (Hermite for a bar
// without releases, straight for a bar hinged at both ends).
double transverseShape(int barType, double xi, double length, double v1, double theta1, double v2, double theta2);

}  // namespace informe

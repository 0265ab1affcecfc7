#pragma once
// The report's pictures as SVG: the model with its supports and loads and the
// diagrams of deflection, moment and shear (both drawn by the pictures
// library), and the mode shapes.
#include <memory>

#include "informe/report_data.h"
#include "informe/structure.h"
#include "pictures/diagrams.h"

namespace informe {

std::unique_ptr<SvgPicture> modelPicture(const Model& model);

using pictures::DiagramKind;
std::unique_ptr<SvgPicture> diagramPicture(const ReportData& data, DiagramKind kind);

// Mode `number` (1-based, ascending eigenvalue) drawn over the beam.
std::unique_ptr<SvgPicture> modePicture(const ReportData& data, int number);

// Transverse displacement of a bar's flexible part at ξ in [0, 1] from its end
// values, with the cubic the bar's end releases allow (Hermite for a bar
// without releases, straight for a bar hinged at both ends).
double transverseShape(int barType, double xi, double length, double v1, double theta1, double v2, double theta2);

}  // namespace informe

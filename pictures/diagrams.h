#pragma once
// The diagrams of deflection, moment and shear of an analysed structure, drawn
// on it: each bar's values perpendicular to it at its place in the model (a
// continuous beam's diagrams run along the beam), the deflection as the
// displaced shape, with the values that matter labelled.
#include <vector>

#include "calcest/elastic_curve.h"
#include "pictures/model.h"
#include "projectfiles/token_file.h"

namespace pictures {

using projectfiles::SourceValue;

enum class DiagramKind { Deflection, Moment, Shear };

// Where the values a diagram writes are found in the analysis's files, for the
// SVG's metadata. Without files (the editor's own analysis), none: a node's
// deflection is then the line's own value there.
class DiagramSources {
 public:
  virtual ~DiagramSources() = default;
  // The results file's moment or shear at a bar's start (or end); bars count from 1.
  virtual const SourceValue* barEnd(int /*bar*/, DiagramKind /*kind*/, bool /*atStart*/) const { return nullptr; }
  // The diagram file's moment or shear at station k (0 to 20) of a bar.
  virtual const SourceValue* station(int /*bar*/, int /*k*/, DiagramKind /*kind*/) const { return nullptr; }
  // The results file's deflection of a node (by position).
  virtual const SourceValue* nodeDeflection(int /*node*/) const { return nullptr; }
};

// The data attributes that say where a value of a file came from, and the
// SVG's markup of `text` with them.
Data sourceData(const char* file, const SourceValue& value);
std::string sourceSpan(const char* file, const SourceValue& value, const std::string& text);

// The picture's id and its frame (its size is the frame's).
const char* diagramId(DiagramKind kind);
ModelFrame diagramFrame(const Model& model);
// The diagram of `model` (at least one bar), `curves` holding bar i's true
// line at i - 1, drawn on a picture of the frame's size; its labels placed.
void drawDiagram(Canvas& canvas, const Model& model, const std::vector<calcest::ElasticCurve>& curves, DiagramKind kind,
                 const DiagramSources& sources);

}  // namespace pictures

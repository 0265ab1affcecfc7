#pragma once
// What every picture of the structure shares, drawn by the pictures library:
// the frame that puts the model on the picture, screen vectors, and the
// drawing of supports, nodes and end releases at their places.
#include "informe/report_data.h"
#include "pictures/svg_picture.h"
#include "pictures/diagrams.h"
#include "pictures/model.h"

namespace informe {

using pictures::along;
using pictures::Anchor;
using pictures::Data;
using pictures::decimalsFor;
using pictures::Drawing;
using pictures::drawNodes;
using pictures::drawReleases;
using pictures::drawSupports;
using pictures::escapeText;
using pictures::frameAttributes;
using pictures::Margins;
using pictures::ModelFrame;
using pictures::modelFrame;
using pictures::modelValue;
using pictures::normal;
using pictures::pictureNumber;
using pictures::pictureStyle;
using pictures::points;
using pictures::px;
using pictures::SvgPicture;
using pictures::Vec;

using pictures::sourceData;

}  // namespace informe

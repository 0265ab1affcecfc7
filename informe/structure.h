#pragma once
// What every picture of the structure shares, drawn by the pictures library:
// the frame that puts the model on the picture, screen vectors, and the
// drawing of supports, nodes and end releases at their places.
#include "informe/report_data.h"
#include "pictures/svg_picture.h"
#include "pictures/diagrams.h"
#include "pictures/model.h"

namespace informe {

using pictures::decimalsFor;
using pictures::escapeText;
using pictures::modelValue;
using pictures::pictureNumber;
using pictures::pictureStyle;
using pictures::px;
using pictures::SvgPicture;
using pictures::along;
using pictures::Anchor;
using pictures::Data;
using pictures::drawNodes;
using pictures::drawReleases;
using pictures::drawSupports;
using pictures::Drawing;
using pictures::frameAttributes;
using pictures::Margins;
using pictures::ModelFrame;
using pictures::modelFrame;
using pictures::normal;
using pictures::points;
using pictures::Vec;

using pictures::sourceData;

}  // namespace informe

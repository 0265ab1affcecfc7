#pragma once
// The three envelope diagrams (1 deflections, 2 bending moments, 3 shear forces
// and support reactions), each drawn in two passes (maximum, then minimum) onto
// the pictures' canvas, and written as a CAD script.
//
// On the canvas a diagram is one picture by whole pixels (beginPicture gives
// its area and beam axis), each pass a group whose class names its pen, each
// element a line or a text whose class names its colour; a text hangs from
// its point (y is its top), as the screen places it.
#include <string>

#include "envolventes/engine/envelope_state.h"
#include "envolventes/engine/message_sink.h"
#include "envolventes/engine/output_files.h"
#include "pictures/canvas.h"
#include "pictures/script_canvas.h"
#include "pictures/svg_picture.h"

namespace envelope {

using Colour = pictures::Colour;

// The diagrams' colours and the classes that name them.
constexpr Colour kGreen{0, 128, 0};
constexpr Colour kPurple{128, 0, 128};
constexpr Colour kOlive{128, 128, 0};
constexpr Colour kRed{255, 0, 0};
constexpr Colour kBlue{0, 0, 255};
constexpr const char* kGreenInk = "verde";
constexpr const char* kPurpleInk = "morado";
constexpr const char* kOliveInk = "oliva";
constexpr const char* kRedInk = "rojo";
constexpr const char* kBlueInk = "azul";
// The colour a class names; black for any other.
Colour colourOf(const std::string& cls);

// The CAD script leaves out or moves some labels of the shear passes.
enum class LabelForm { Screen, Script };

// Draws both passes of diagram `selector` onto `canvas` from the state's layout
// and envelopes, with the labels of `form`. Any selector other than 1..3 draws
// nothing.
void drawDiagram(const EnvelopeState& state, int selector, pictures::Canvas& canvas,
                 LabelForm form = LabelForm::Screen);
// The same with the ordinates given, not the state's.
void drawDiagram(const EnvelopeState& state, const EnvelopeOrdinates& ordinates, int selector, pictures::Canvas& canvas,
                 LabelForm form = LabelForm::Screen);

enum class DrawOutcome {
  Drawn,          // drawn, and the script rewritten
  NothingToDraw,  // selector outside 1..3: nothing drawn, no script touched
  ScriptError,    // the script could not be created: message shown, nothing drawn
  WriteError,     // drawn, but the script could not be written: message shown
};

// "ERROR SCRD", "ERROR SCRM" or "ERROR SCRC" for selector 1, 2, 3.
std::string scriptErrorText(int selector);

// One repaint: creates (truncates) the selector's script file
// (state.scriptName(selector)) in `files`; if that fails shows the script
// error and draws nothing; otherwise draws the diagram onto `screen` and
// writes it to the script.
DrawOutcome paintDiagram(const EnvelopeState& state, int selector, pictures::Canvas& screen, MessageSink& sink,
                         const OutputFiles& files = OutputFiles());

// As paintDiagram, with no screen: only the script is written.
DrawOutcome writeScript(const EnvelopeState& state, int selector, MessageSink& sink,
                        const OutputFiles& files = OutputFiles());

// As writeScript, the diagram's commands already drawn on `drawn` from this
// state.
DrawOutcome writeDrawnScript(const EnvelopeState& state, int selector, const pictures::ScriptCanvas& drawn,
                             MessageSink& sink, const OutputFiles& files = OutputFiles());

// The canvases a diagram's script and picture are drawn on.
inline pictures::ScriptCanvas diagramScript() { return pictures::ScriptCanvas(pictures::ScriptForm::pixels); }
inline pictures::SvgPicture diagramPicture() { return pictures::SvgPicture(colourOf); }

// Writes a diagram's picture to `path` in `files`. False after a message:
// "ERROR SVG <path>" when the file cannot be created, the write error when it
// cannot be written.
bool savePicture(const pictures::SvgPicture& picture, const std::string& path, MessageSink& sink,
                 const OutputFiles& files = OutputFiles());

}  // namespace envelope

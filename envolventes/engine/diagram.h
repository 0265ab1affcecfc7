#pragma once
// The three envelope diagrams (1 deflections, 2 bending moments, 3 shear forces
// and support reactions), each drawn in two passes (maximum, then minimum) onto
// a Canvas, and written as a CAD script.
#include <string>

#include "envolventes/engine/canvas.h"
#include "envolventes/engine/envelope_state.h"
#include "envolventes/engine/message_sink.h"
#include "envolventes/engine/output_files.h"
#include "envolventes/engine/script_canvas.h"

namespace envelope {

// Draws both passes of diagram `selector` onto `canvas` from the state's layout
// and envelopes. Any selector other than 1..3 draws nothing.
void drawDiagram(const EnvelopeState& state, int selector, Canvas& canvas);
// The same with the ordinates given, not the state's.
void drawDiagram(const EnvelopeState& state, const EnvelopeOrdinates& ordinates, int selector, Canvas& canvas);

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
DrawOutcome paintDiagram(const EnvelopeState& state, int selector, Canvas& screen, MessageSink& sink,
                         const OutputFiles& files = OutputFiles());

// As paintDiagram, with no screen: only the script is written.
DrawOutcome writeScript(const EnvelopeState& state, int selector, MessageSink& sink,
                        const OutputFiles& files = OutputFiles());

// As writeScript, the diagram's commands already drawn on `drawn` (a
// ScriptCanvas kept in memory) from this state.
DrawOutcome writeDrawnScript(const EnvelopeState& state, int selector, const ScriptCanvas& drawn, MessageSink& sink,
                             const OutputFiles& files = OutputFiles());

}  // namespace envelope

#pragma once
// "Nueva viga continua": the few choices a continuous beam is made from, in
// the order they are thought of (spans first); Return makes the beam.
#include <wx/dialog.h>

#include "vigas/builder.h"

class wxCheckBox;
class wxChoice;
class wxTextCtrl;

namespace vigas::app {

class BeamDialog : public wxDialog {
 public:
  explicit BeamDialog(wxWindow* parent);
  // The beam made from the choices (valid after ShowModal gave wxID_OK).
  const BuiltBeam& beam() const { return beam_; }

 private:
  void onOk(wxCommandEvent& event);
  void onUnits();
  void onPreset();
  void onSectionKind();
  // The choices as typed; "" when they read, else what is wrong.
  std::string readChoices(BeamChoices& choices) const;

  wxTextCtrl *spans_, *left_, *right_, *supports_, *permanent_, *variable_, *bars_;
  wxCheckBox* selfWeight_;
  wxChoice *units_, *sectionKind_, *preset_;
  wxTextCtrl *b_, *h_, *area_, *inertia_, *shearArea_;
  wxTextCtrl *E_, *G_, *gamma_, *alpha_;
  BuiltBeam beam_;
};

// Support kinds as typed: one word per support (articulado, deslizante,
// empotrado, muelle), each shortened to its first letter at will; a spring
// takes its stiffness after a colon ("muelle:50000"). Blank: the first
// support pinned and the others rollers. "" when read, else why not.
std::string readSupports(const std::string& text, size_t count, std::vector<SupportChoice>& supports);

}  // namespace vigas::app

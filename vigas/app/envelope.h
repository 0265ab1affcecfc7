#pragma once
// The envelope of the load cases: the dialog that takes each case as
// permanent, variable or unused with alternancias' factors, and the page that
// shows what alternancias gave: its summary, and its three diagrams drawn from
// the same envelope, each fitted to the page (see vigas/envelope_picture.h).
#include <wx/dialog.h>
#include <wx/panel.h>

#include <memory>
#include <string>
#include <vector>

#include "vigas/suite_programs.h"

class wxChoice;
class wxTextCtrl;
class wxBoxSizer;
class wxStaticText;

namespace vigas::app {

class EnvelopeDialog : public wxDialog {
 public:
  EnvelopeDialog(wxWindow* parent, const Content& content);
  const EnvelopeChoice& choice() const { return choice_; }

 private:
  bool TransferDataFromWindow() override;

  const Content& content_;
  EnvelopeChoice choice_;
  std::vector<wxChoice*> roles_;
  wxTextCtrl *gG_, *gGinf_, *gQ_;
};

class EnvelopePanel : public wxPanel {
 public:
  explicit EnvelopePanel(wxWindow* parent);
  void show(const EnvelopeRun& run);
  // The summary as the page shows it, in the files' character set.
  std::string summaryText() const;
  // The beam changed since: the envelope shown is of the beam as it was.
  void markOutdated();
  // Another beam: nothing shown.
  void clear();

 private:
  // The three pictures at the page's width.
  void drawPictures();

  wxStaticText* note_;
  wxTextCtrl* summary_;
  std::shared_ptr<const envelope::EnvelopeState> state_;
  int drawnWidth_ = 0;
  wxPanel* pictures_;
  wxBoxSizer* pictureSizer_;
};

}  // namespace vigas::app

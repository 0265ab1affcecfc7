#pragma once
// The reinforcement of the beam: the dialog that takes armado's design data
// (the cases' roles and factors are the envelope's), and the page that shows
// armado's summary, the design and its serviceability curves drawn by the
// suite's drawing code.
#include <wx/dialog.h>
#include <wx/panel.h>

#include <memory>
#include <string>

#include "armado/design.h"
#include "vigas/suite_programs.h"

class wxChoice;
class wxStaticText;
class wxTextCtrl;

namespace vigas::app {

class DesignDialog : public wxDialog {
 public:
  DesignDialog(wxWindow* parent, const armado::DesignData& data);
  const armado::DesignData& data() const { return data_; }

 private:
  bool TransferDataFromWindow() override;

  bool readService(armado::DesignData& d);

  armado::DesignData data_;
  wxChoice *concrete_, *steel_, *exposure_, *cement_;
  wxTextCtrl *cover_, *bars_, *stirrup_, *legs_, *aggregate_, *support_, *psi2_, *gammaC_, *gammaS_, *alphaCC_;
  wxTextCtrl *psi1_, *humidity_, *loadingAge_, *creep_, *shrinkage_, *finishes_;
};

class DesignPanel : public wxPanel {
 public:
  explicit DesignPanel(wxWindow* parent);
  void show(const DesignRun& run);
  std::string summaryText() const;
  void markOutdated();
  void clear();

 private:
  void onPaint(wxPaintEvent& event);
  void onPaintCurves(wxPaintEvent& event);
  wxStaticText* note_;
  wxTextCtrl* summary_;
  wxPanel *picture_, *curves_;
  std::shared_ptr<const armado::Design> design_;
  std::string name_;
};

}  // namespace vigas::app

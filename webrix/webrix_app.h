#pragma once
// CWebrixApp: start-up (document template, command line, main window) and
// the About command.
#include <wx/app.h>
#include <wx/docview.h>

#include <string>

class CWebrixApp : public wxApp {
 public:
  bool OnInit() override;
  int OnRun() override;
  int OnExit() override;

 private:
  void OnAbout(wxCommandEvent& event);

  wxDocManager* docManager_ = nullptr;
  std::string commandLine_;
  int failureStatus_ = 0;  // non-zero: start-up failed, end with this status
};

wxDECLARE_APP(CWebrixApp);

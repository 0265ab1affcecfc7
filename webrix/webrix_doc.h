#pragma once
// CWebrixDoc: the document named on the command line. Its file carries no
// data: opening reads nothing and saving writes nothing. In memory it holds
// the command line the program was started with, which the view reads.
#include <wx/docview.h>

#include <string>

#include "webrix/start_address.h"

class CWebrixDoc : public wxDocument {
 public:
  bool OnNewDocument() override { return wxDocument::OnNewDocument(); }

  // The command line after the program name, as one text.
  const std::string& commandLineText() const { return commandLine_; }
  void setCommandLineText(const std::string& text) { commandLine_ = text; }
  // Its fields, each argument as given.
  const webrix::CommandLine& arguments() const { return arguments_; }
  void setArguments(const webrix::CommandLine& arguments) { arguments_ = arguments; }

 protected:
  bool DoOpenDocument(const wxString&) override { return true; }
  bool DoSaveDocument(const wxString&) override { return true; }

 private:
  std::string commandLine_;
  webrix::CommandLine arguments_;
  wxDECLARE_DYNAMIC_CLASS(CWebrixDoc);
};

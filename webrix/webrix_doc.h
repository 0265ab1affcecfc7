#pragma once
// CWebrixDoc: the document named on the command line. It carries no data:
// opening reads nothing and saving writes nothing.
#include <wx/docview.h>

class CWebrixDoc : public wxDocument {
 public:
  bool OnNewDocument() override { return wxDocument::OnNewDocument(); }

 protected:
  bool DoOpenDocument(const wxString&) override { return true; }
  bool DoSaveDocument(const wxString&) override { return true; }

 private:
  wxDECLARE_DYNAMIC_CLASS(CWebrixDoc);
};

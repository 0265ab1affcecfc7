// A test helper: holds the text of a file (UTF-8) on the clipboard for some
// seconds, as a spreadsheet that copied a block would, then ends.
// usage: vigas_test_clipboard FILE SECONDS
#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/timer.h>

#include <fstream>
#include <sstream>

class ClipboardApp : public wxApp {
 public:
  bool OnInit() override {
    if (argc < 3) return false;
    std::ifstream in(argv[1].ToStdString());
    std::stringstream text;
    text << in.rdbuf();
    long seconds = 0;
    if (!in || !argv[2].ToLong(&seconds) || !wxTheClipboard->Open()) return false;
    wxTheClipboard->SetData(new wxTextDataObject(wxString::FromUTF8(text.str())));
    wxTheClipboard->Close();
    timer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { ExitMainLoop(); });
    timer_.StartOnce(static_cast<int>(seconds * 1000));
    return true;
  }

 private:
  wxTimer timer_;
};

wxIMPLEMENT_APP(ClipboardApp);

#pragma once
// The launcher's only window. Its first paint runs the start sequence; the
// window stays up only when the main program could not be started. From then
// on the window's next paint after it was resized or shown again runs the
// sequence once more. Repaints caused by the launcher's own menus and boxes do
// not: otherwise opening File to leave would start everything again.
#include <wx/frame.h>

#include "lanzador/launch_sequence.h"

namespace lanzador {

enum Command { kAbout = 104, kExit = 105 };

class LauncherFrame : public wxFrame {
 public:
  explicit LauncherFrame(const Options& options);

 private:
  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);
  void requestRerun();
  void OnAbout(wxCommandEvent& event);
  void OnExit(wxCommandEvent& event);
  void runStartSequence();

  bool running_ = false;     // sequence under way: paints only draw
  bool showNotice_ = false;  // the main program could not be started
  bool armed_ = true;        // the next paint runs the sequence
  wxWindow* canvas_;         // client area: painted, and holds the keyboard focus
  wxSize lastSize_;
  Options options_;  // what the command line configured
};

}  // namespace lanzador

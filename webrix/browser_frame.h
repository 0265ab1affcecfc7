#pragma once
// What the browser view may ask of the main window, and no more: the browser
// window the frame made for it, the caption, the address box's text, and what
// the address box shows for the state snapshot. Input flows the other way as
// command events (the toolbar, the menus and the address box alike).
#include <wx/string.h>

class wxWebView;

namespace webrix {

struct BrowserState;

class BrowserFrame {
 public:
  // Made once with the frame; null when no browser could be made.
  virtual wxWebView* browser() = 0;
  virtual void showDocumentTitle(const wxString& title) = 0;  // caption "title - Webrix"
  virtual void setAddressText(const wxString& address) = 0;
  // Fills in the caption and the address box (text, entries, place on screen).
  virtual void describeWindow(BrowserState& state) const = 0;

 protected:
  ~BrowserFrame() = default;
};

}  // namespace webrix

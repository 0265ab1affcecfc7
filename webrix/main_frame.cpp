#include "webrix/main_frame.h"

#include <gtk/gtk.h>
#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/dcclient.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/utils.h>
#include <wx/webview.h>

#include "guicommon/menus.h"
#include "webrix/commands.h"
#include "webrix/res/toolbar_hot.xpm"
#include "webrix/res/toolbar_normal.xpm"
#include "webrix/res/webrix.xpm"
#include "webrix/state_dump.h"

using namespace webrix;

namespace {

constexpr int kImageSize = 22;
const wxColour kTransparent(255, 0, 255);

struct ToolButton {
  int command;
  const char* text;    // label under the image
  const char* prompt;  // "status prompt\ntool tip"
};
const ToolButton kButtons[] = {
    {kBack, "Back", kBackPrompt},          {kForward, "Forward", kForwardPrompt},  {kStop, "Stop", kStopPrompt},
    {kRefresh, "Refresh", kRefreshPrompt}, {kStartPage, "Home", kStartPagePrompt},
};

wxString promptOf(const char* prompt) { return wxString(prompt).BeforeFirst('\n'); }
wxString tipOf(const char* prompt) { return wxString(prompt).AfterFirst('\n'); }

// Image `index` of a strip of 22-pixel images, magenta shown as transparent.
wxBitmap stripImage(const char* const* xpm, int index) {
  wxImage strip(xpm);
  wxImage image = strip.GetSubImage(wxRect(index * kImageSize, 0, kImageSize, kImageSize));
  image.SetMaskColour(kTransparent.Red(), kTransparent.Green(), kTransparent.Blue());
  return wxBitmap(image);
}

// The band's gripper: two etched vertical lines, as on a rebar band.
class Gripper : public wxWindow {
 public:
  explicit Gripper(wxWindow* parent) : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(8, 22)) {
    Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
      wxPaintDC dc(this);
      int h = GetClientSize().y;
      dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
      dc.DrawLine(2, 2, 2, h - 2);
      dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT)));
      dc.DrawLine(3, 2, 3, h - 2);
    });
  }
};

wxMenuBar* createMenuBar() {
  auto* file = new wxMenu;
  file->Append(wxID_OPEN, guicommon::sharedItem("&Open...", guicommon::SharedCommand::open),
               "Opens an existing document.");
  file->AppendSeparator();
  file->Append(wxID_PRINT, guicommon::sharedItem("&Print...", guicommon::SharedCommand::print),
               "Prints the active document.");
  file->AppendSeparator();
  file->Append(wxID_EXIT, guicommon::sharedItem("E&xit", guicommon::SharedCommand::quit), "Quits the application.");
  auto* view = new wxMenu;
  view->AppendCheckItem(kViewToolbar, "&Toolbar", "Shows or hides the toolbar.");
  view->AppendCheckItem(kViewStatusBar, "&Status Bar", "Shows or hides the status bar.");
  view->AppendSeparator();
  view->Append(kStop, "Sto&p\tEsc", promptOf(kStopPrompt));
  view->Append(kRefresh, "&Refresh\tF5", promptOf(kRefreshPrompt));
  auto* go = new wxMenu;
  go->Append(kBack, "&Back\tAlt+Left", promptOf(kBackPrompt));
  go->Append(kForward, "&Forward\tAlt+Right", promptOf(kForwardPrompt));
  go->Append(kStartPage, "&Start Page", promptOf(kStartPagePrompt));
  auto* help = new wxMenu;
  help->Append(wxID_ABOUT, "&About Webrix...", "Displays program information and version number.");
  wxMenuBar* bar = guicommon::menuBarOf({{file, "&File"}, {view, "&View"}, {go, "Go"}, {help, "&Help"}});
  bar->Check(kViewToolbar, true);
  bar->Check(kViewStatusBar, true);
  return bar;
}

}  // namespace

CMainFrame::CMainFrame(wxDocManager* manager)
    : wxDocParentFrame(manager, nullptr, wxID_ANY, kProgramName, wxPoint(0, 0), wxGetDisplaySize(),
                       wxDEFAULT_FRAME_STYLE | wxMAXIMIZE),
      indicatorTimer_(this) {
  SetIcon(wxIcon(webrix_xpm));
  SetMenuBar(createMenuBar());
  layout_ = new wxBoxSizer(wxVERTICAL);
  createRebar();
  layout_->Add(rebar_, 0, wxEXPAND);
  SetSizer(layout_);
  createStatusBarPanes();

  Bind(wxEVT_MENU, &CMainFrame::OnViewToolbar, this, kViewToolbar);
  Bind(wxEVT_MENU, &CMainFrame::OnViewStatusBar, this, kViewStatusBar);
  Bind(wxEVT_TIMER, &CMainFrame::OnUpdateIndicators, this);
  installAccelerators();
  indicatorTimer_.Start(250);
  // The browser fills the rest of the window, for whichever view shows it.
  browser_ = wxWebView::New(this, wxID_ANY);
  if (browser_) {
    layout_->Add(browser_, 1, wxEXPAND);
    Layout();
  }
}

void CMainFrame::createRebar() {
  rebar_ = new wxPanel(this, wxID_ANY);
  auto* bands = new wxBoxSizer(wxVERTICAL);
  bands->Add(createToolbarBand(rebar_), 0, wxEXPAND);
  bands->Add(new wxStaticLine(rebar_), 0, wxEXPAND);

  // Second band, on a new line: "Address:" and the address box.
  auto* address = new wxBoxSizer(wxHORIZONTAL);
  address->Add(new Gripper(rebar_), 0, wxEXPAND | wxTOP | wxBOTTOM, 2);
  address->Add(new wxStaticText(rebar_, wxID_ANY, "Address:"), 0, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, 4);
  addressBox_ = new wxComboBox(rebar_, wxID_ANY, "", wxDefaultPosition, wxSize(200, -1), 0, nullptr,
                               wxCB_DROPDOWN | wxTE_PROCESS_ENTER);
  address->Add(addressBox_, 1, wxALIGN_CENTER_VERTICAL | wxTOP | wxBOTTOM | wxRIGHT, 5);
  bands->Add(address, 0, wxEXPAND);
  bands->Add(new wxStaticLine(rebar_), 0, wxEXPAND);
  rebar_->SetSizer(bands);

  addressBox_->Bind(wxEVT_TEXT_ENTER, &CMainFrame::OnAddressEnter, this);
  addressBox_->Bind(wxEVT_COMBOBOX, &CMainFrame::OnAddressChosen, this);
}

wxPanel* CMainFrame::createToolbarBand(wxWindow* parent) {
  // Flat buttons with the text under the image; the hot image shows while
  // the pointer is over a button, and its prompt goes to the status bar.
  auto* band = new wxPanel(parent, wxID_ANY);
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(new Gripper(band), 0, wxEXPAND | wxTOP | wxBOTTOM, 2);
  for (int i = 0; i < 5; ++i) {
    const ToolButton& tool = kButtons[i];
    auto* button = new wxButton(band, tool.command, tool.text, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE);
    button->SetBitmap(stripImage(toolbar_normal_xpm, i));
    button->SetBitmapCurrent(stripImage(toolbar_hot_xpm, i));
    button->SetBitmapPosition(wxTOP);
    button->SetToolTip(tipOf(tool.prompt));
    wxSize size = button->GetBestSize();
    button->SetMinSize(wxSize(std::min(std::max(size.x, 50), 150), size.y));
    button->Bind(wxEVT_ENTER_WINDOW, [this, tool](wxMouseEvent& e) {
      SetStatusText(promptOf(tool.prompt));
      e.Skip();
    });
    button->Bind(wxEVT_LEAVE_WINDOW, [this](wxMouseEvent& e) {
      SetStatusText(kIdleMessage);
      e.Skip();
    });
    button->Bind(wxEVT_BUTTON, &CMainFrame::OnToolButton, this);
    row->Add(button, 0, wxALL, 1);
  }
  band->SetSizer(row);
  return band;
}

void CMainFrame::createStatusBarPanes() {
  CreateStatusBar(4);
  const int widths[] = {-1, 40, 40, 40};
  GetStatusBar()->SetStatusWidths(4, widths);
  SetStatusText(kIdleMessage);
}

void CMainFrame::showDocumentTitle(const wxString& title) { SetTitle(title + " - " + kProgramName); }

void CMainFrame::setAddressText(const wxString& address) { addressBox_->ChangeValue(address); }

// Commands go the way the menu's go: to the view first.
void CMainFrame::sendCommand(int command, const wxString& text) {
  wxCommandEvent event(wxEVT_MENU, command);
  event.SetEventObject(this);
  event.SetString(text);
  ProcessWindowEvent(event);
}

void CMainFrame::OnAddressEnter(wxCommandEvent&) {
  wxString text = addressBox_->GetValue();
  addressBox_->Append(text);
  sendCommand(kGoTypedAddress, text);
}

void CMainFrame::OnAddressChosen(wxCommandEvent& event) {
  int chosen = event.GetSelection();
  if (chosen == wxNOT_FOUND) return;
  sendCommand(kGoListedAddress, addressBox_->GetString(chosen));
}

void CMainFrame::OnToolButton(wxCommandEvent& event) { sendCommand(event.GetId()); }

int CMainFrame::acceleratorCommand(unsigned keyval, unsigned modifiers) {
  struct Accelerator {
    unsigned modifiers;
    unsigned keyval;
    int command;
  };
  static const Accelerator accelerators[] = {
      {GDK_CONTROL_MASK, GDK_KEY_o, wxID_OPEN},
      {GDK_CONTROL_MASK, GDK_KEY_O, wxID_OPEN},
      {GDK_CONTROL_MASK, GDK_KEY_p, wxID_PRINT},
      {GDK_CONTROL_MASK, GDK_KEY_P, wxID_PRINT},
      {0, GDK_KEY_Escape, kStop},
      {0, GDK_KEY_F5, kRefresh},
      {GDK_MOD1_MASK, GDK_KEY_Left, kBack},
      {GDK_MOD1_MASK, GDK_KEY_Right, kForward},
  };
  modifiers &= GDK_CONTROL_MASK | GDK_MOD1_MASK | GDK_SHIFT_MASK;
  for (const Accelerator& a : accelerators)
    if (a.modifiers == modifiers && a.keyval == keyval) return a.command;
  return 0;
}

void CMainFrame::installAccelerators() {
  // The accelerators are looked at before any window of the frame sees the
  // key: the toolkit hands keys to the focused child first, and the browser
  // keeps keys such as Alt+Left for its page. A key snooper is the one hook
  // that comes before both (deprecated in GTK 3 but still served).
  auto onKey = +[](GtkWidget*, GdkEventKey* key, gpointer self) -> gint {
    auto* frame = static_cast<CMainFrame*>(self);
    if (key->type != GDK_KEY_PRESS || !key->window) return FALSE;
    GtkWidget* toplevel = frame->GetHandle();
    if (gdk_window_get_toplevel(key->window) != gtk_widget_get_window(toplevel)) return FALSE;
    // Not while a modal dialog of the program is up.
    GtkWidget* grab = gtk_grab_get_current();
    if (grab && gtk_widget_get_toplevel(grab) != toplevel) return FALSE;
    int command = acceleratorCommand(key->keyval, key->state);
    if (command == 0) return FALSE;
    frame->CallAfter([frame, command] {
      wxCommandEvent event(wxEVT_MENU, command);
      event.SetEventObject(frame);
      frame->ProcessWindowEvent(event);
    });
    return TRUE;
  };
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  keySnooper_ = gtk_key_snooper_install(onKey, this);
#pragma GCC diagnostic pop
}

CMainFrame::~CMainFrame() {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (keySnooper_) gtk_key_snooper_remove(keySnooper_);
#pragma GCC diagnostic pop
}

void CMainFrame::OnViewToolbar(wxCommandEvent& event) {
  rebar_->Show(event.IsChecked());
  Layout();
}

void CMainFrame::OnViewStatusBar(wxCommandEvent& event) {
  GetStatusBar()->Show(event.IsChecked());
  SendSizeEvent();
}

void CMainFrame::OnUpdateIndicators(wxTimerEvent&) {
  SetStatusText(wxGetKeyState(WXK_CAPITAL) ? "CAP" : "", 1);
  SetStatusText(wxGetKeyState(WXK_NUMLOCK) ? "NUM" : "", 2);
  SetStatusText(wxGetKeyState(WXK_SCROLL) ? "SCRL" : "", 3);
}

void CMainFrame::describeWindow(BrowserState& state) const {
  state.caption = GetTitle().utf8_string();
  state.address = addressBox_->GetValue().utf8_string();
  for (unsigned i = 0; i < addressBox_->GetCount(); ++i)
    state.entries.push_back(addressBox_->GetString(i).utf8_string());
  wxRect box = addressBox_->GetScreenRect();
  state.box[0] = box.x;
  state.box[1] = box.y;
  state.box[2] = box.width;
  state.box[3] = box.height;
}

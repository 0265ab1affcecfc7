#pragma once
// The viewer's dialogs: screen size, existing or new envelope, envelope name,
// envelope list, project selection, and the About box. Positions and sizes
// are in dialog units, so the dialogs scale with the system font.
#include <wx/bitmap.h>
#include <wx/button.h>
#include <wx/stattext.h>
#include <wx/dialog.h>
#include <wx/listbox.h>
#include <wx/statbmp.h>
#include <wx/textctrl.h>

#include <array>
#include <string>
#include <vector>

namespace envelope {

// Draws the 350 x 100 banner picture numbered `id` (the dialogs use 131 to
// 133 and 138 to 142); the application keeps the ones drawn.
wxBitmap drawBannerBitmap(int id);
// The program's 32 x 32 icon.
wxBitmap programIcon();

class ViewerDialog : public wxDialog {
 public:
  ViewerDialog(wxWindow* parent, const wxString& caption, wxPoint origin, wxSize size);

 protected:
  wxPoint du(int x, int y) { return ConvertDialogToPixels(wxPoint(x, y)); }
  wxSize du(wxSize size) { return ConvertDialogToPixels(size); }
  wxStaticText* addText(const wxString& text, int x, int y);
  wxButton* addButton(wxWindowID id, const wxString& label, int x, int y, int w, int h);
  wxTextCtrl* addEdit(wxWindowID id, int x, int y, int w, int h);
  // Three stacked banner controls of which only one is shown (m_nBanner).
  void addBanners(std::array<int, 3> controlIds, std::array<int, 3> bitmapIds, std::array<wxPoint, 3> at);
  void showBanner(int selector);
  // A validation failure: message, focus on the field with its text selected.
  void refuse(wxTextCtrl* field, const std::string& cp1252Message, bool exclamation);
  bool checkLength(wxTextCtrl* field, int limit);

  std::array<wxStaticBitmap*, 3> banners_{};

 private:
  void OnCharHook(wxKeyEvent& event);
  void OnClose(wxCloseEvent& event);
};

class CAboutDlg : public ViewerDialog {
 public:
  explicit CAboutDlg(wxWindow* parent);
};

class CScreenSizeDlg : public ViewerDialog {
 public:
  explicit CScreenSizeDlg(wxWindow* parent);
  int ShowModal() override;

  int m_nBanner = 0;
  int m_nHeight = 0;
  int m_nWidth = 0;

 private:
  void OnOk(wxCommandEvent& event);
  wxTextCtrl* height_;
  wxTextCtrl* width_;
};

class CEnvelopeModeDlg : public ViewerDialog {
 public:
  explicit CEnvelopeModeDlg(wxWindow* parent);
  int ShowModal() override;

  int m_nBanner = 0;
  int m_bExisting = 0;
};

class CEnvelopeNameDlg : public ViewerDialog {
 public:
  explicit CEnvelopeNameDlg(wxWindow* parent);
  int ShowModal() override;

  wxString m_strName;

 private:
  void OnOk(wxCommandEvent& event);
  wxTextCtrl* name_;
};

// The two dialogs that list the directory's "*.dat" files.
class FileListDialog : public ViewerDialog {
 public:
  int ShowModal() override;

  int m_nBanner = 0;
  wxString m_strName;

 protected:
  FileListDialog(wxWindow* parent, const wxString& caption, wxSize size, int nameLimit);
  void addListControls(const wxString& hint);
  void OnOk(wxCommandEvent& event);

  wxListBox* m_list = nullptr;
  wxTextCtrl* name_ = nullptr;
  std::vector<std::string> m_files;
  int nameLimit_;  // 0: no limit

 private:
  void fillList();
  void OnSelect(wxCommandEvent& event);
};

class CProjectSelectDlg : public FileListDialog {
 public:
  explicit CProjectSelectDlg(wxWindow* parent);
};

class CEnvelopeListDlg : public FileListDialog {
 public:
  explicit CEnvelopeListDlg(wxWindow* parent);
};

}  // namespace envelope

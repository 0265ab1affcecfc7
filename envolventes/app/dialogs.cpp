#include "envolventes/app/dialogs.h"

#include <wx/button.h>
#include <wx/dcmemory.h>
#include <wx/msgdlg.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include <cmath>
#include <cstdint>

#include "common/capacities.h"
#include "envolventes/app/startup_flow.h"
#include "envolventes/app/ui_text.h"
#include "envolventes/app/viewer.h"

namespace envelope {

using namespace common;

namespace {

enum class BannerTheme { Deflection, Moment, Shear };

struct BannerArt {
  wxColour from, to;
  BannerTheme theme;
  const char* caption;  // Windows-1252
};

BannerArt artFor(int id) {
  switch (id) {
    case 131: return {wxColour(20, 60, 120), wxColour(90, 160, 220), BannerTheme::Shear, "Cortantes y reacciones"};
    case 132:
      return {wxColour(10, 90, 40), wxColour(120, 200, 120), BannerTheme::Deflection, "Deformaci\xF3n de vigas"};
    case 133: return {wxColour(120, 40, 20), wxColour(230, 150, 90), BannerTheme::Moment, "Momentos flectores"};
    case 138: return {wxColour(70, 20, 100), wxColour(180, 120, 220), BannerTheme::Shear, "Esfuerzos de corte"};
    case 139: return {wxColour(30, 30, 30), wxColour(140, 140, 150), BannerTheme::Deflection, "Envolventes guardadas"};
    case 140: return {wxColour(0, 80, 90), wxColour(90, 190, 190), BannerTheme::Deflection, "Envolventes de vigas"};
    case 141: return {wxColour(110, 90, 0), wxColour(230, 210, 90), BannerTheme::Moment, "Flexi\xF3n: extremos"};
    default: return {wxColour(90, 0, 30), wxColour(220, 100, 130), BannerTheme::Shear, "Reacciones de apoyo"};
  }
}

// A curve over a three-support beam drawn in the theme of the banner.
void drawBeamSketch(wxDC& dc, BannerTheme theme) {
  const int left = 200, right = 336, axis = 62, span = (right - left) / 2;
  dc.SetPen(wxPen(*wxWHITE, 2));
  dc.DrawLine(left, axis, right, axis);
  for (int x : {left, left + span, right}) {
    wxPoint tri[3] = {{x, axis}, {x + 6, axis + 8}, {x - 6, axis + 8}};
    dc.DrawPolygon(3, tri);
  }
  dc.SetPen(wxPen(wxColour(255, 240, 120), 2));
  wxPoint previous;
  for (int x = left; x <= right; ++x) {
    double t = static_cast<double>((x - left) % span) / span;
    int bay = (x - left) / span;
    double y = 0;
    if (theme == BannerTheme::Deflection) y = 18 * std::sin(M_PI * t);
    if (theme == BannerTheme::Moment) y = 24 * (4 * t * (1 - t)) - 16 * (bay == 0 ? t * t : (1 - t) * (1 - t));
    if (theme == BannerTheme::Shear) y = 20 * (1 - 2 * t);
    wxPoint here(x, axis + static_cast<int>(std::lround(theme == BannerTheme::Shear ? -y : y)));
    if (x > left && !(theme == BannerTheme::Shear && (x - left) % span == 0)) dc.DrawLine(previous, here);
    previous = here;
  }
}

}  // namespace

wxBitmap drawBannerBitmap(int id) {
  wxBitmap bitmap(350, 100, 24);
  wxMemoryDC dc(bitmap);
  BannerArt art = artFor(id);
  dc.GradientFillLinear(wxRect(0, 0, 350, 100), art.from, art.to, wxEAST);
  drawBeamSketch(dc, art.theme);
  dc.SetTextForeground(*wxWHITE);
  wxFont title(wxFontInfo(20).Family(wxFONTFAMILY_SWISS).Bold());
  dc.SetFont(title);
  dc.DrawText("envolventes", 12, 14);
  dc.SetFont(wxFont(wxFontInfo(9).Family(wxFONTFAMILY_SWISS)));
  dc.DrawText(fromCp1252(art.caption), 14, 56);
  dc.DrawText("Vigas continuas", 14, 74);
  dc.SelectObject(wxNullBitmap);
  return bitmap;
}

wxBitmap programIcon() {
  wxBitmap bitmap(32, 32, 24);
  wxMemoryDC dc(bitmap);
  dc.GradientFillLinear(wxRect(0, 0, 32, 32), wxColour(0, 80, 90), wxColour(90, 190, 190), wxSOUTH);
  dc.SetPen(wxPen(*wxWHITE, 2));
  dc.DrawLine(3, 14, 29, 14);
  dc.SetBrush(*wxWHITE_BRUSH);
  for (int x : {4, 16, 28}) {
    wxPoint tri[3] = {{x, 15}, {x + 3, 20}, {x - 3, 20}};
    dc.DrawPolygon(3, tri);
  }
  dc.SetPen(wxPen(wxColour(255, 240, 120), 2));
  for (int x = 4; x < 28; ++x) {
    auto y = [](int at) { return 15 + static_cast<int>(std::lround(6 * std::sin(M_PI * ((at - 4) % 12) / 12.0))); };
    if ((x - 4) % 12 != 11) dc.DrawLine(x, y(x), x + 1, y(x + 1));
  }
  dc.SelectObject(wxNullBitmap);
  return bitmap;
}

// ---------------------------------------------------------------- base

ViewerDialog::ViewerDialog(wxWindow* parent, const wxString& caption, wxPoint, wxSize size)
    : wxDialog(parent, wxID_ANY, caption, wxDefaultPosition, wxDefaultSize, wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
  SetClientSize(du(size));
  Bind(wxEVT_CHAR_HOOK, &ViewerDialog::OnCharHook, this);
  Bind(wxEVT_CLOSE_WINDOW, &ViewerDialog::OnClose, this);
  CentreOnScreen();
}

wxStaticText* ViewerDialog::addText(const wxString& text, int x, int y) {
  return new wxStaticText(this, wxID_ANY, text, du(x, y));
}

wxButton* ViewerDialog::addButton(wxWindowID id, const wxString& label, int x, int y, int w, int h) {
  return new wxButton(this, id, label, du(x, y), du(wxSize(w, h)));
}

wxTextCtrl* ViewerDialog::addEdit(wxWindowID id, int x, int y, int w, int h) {
  return new wxTextCtrl(this, id, wxEmptyString, du(x, y), du(wxSize(w, h)));
}

void ViewerDialog::addBanners(std::array<int, 3> controlIds, std::array<int, 3> bitmapIds, std::array<wxPoint, 3> at) {
  for (int k = 0; k < 3; ++k)
    banners_[k] = new wxStaticBitmap(this, controlIds[k], wxGetApp().bannerBitmap(bitmapIds[k]), du(at[k].x, at[k].y));
}

void ViewerDialog::showBanner(int selector) {
  int shown = selector >= 1 && selector <= 3 ? selector - 1 : 0;
  for (int k = 0; k < 3; ++k)
    if (banners_[k]) banners_[k]->Show(k == shown);
}

void ViewerDialog::refuse(wxTextCtrl* field, const std::string& cp1252Message, bool exclamation) {
  messageBox(fromCp1252(cp1252Message), (exclamation ? wxICON_EXCLAMATION : wxICON_NONE), this);
  field->SetFocus();
  field->SelectAll();
}

bool ViewerDialog::checkLength(wxTextCtrl* field, int limit) {
  if (limit <= 0 || static_cast<int>(field->GetValue().length()) <= limit) return true;
  refuse(field, lengthMessage(limit), true);
  return false;
}

void ViewerDialog::OnCharHook(wxKeyEvent& event) {
  // Esc cancels every dialog, also those without a Cancel button.
  if (event.GetKeyCode() == WXK_ESCAPE && IsModal()) {
    EndModal(wxID_CANCEL);
    return;
  }
  event.Skip();
}

void ViewerDialog::OnClose(wxCloseEvent&) {
  if (IsModal()) EndModal(wxID_CANCEL);
}

// ---------------------------------------------------------------- About

CAboutDlg::CAboutDlg(wxWindow* parent) : ViewerDialog(parent, "Acerca de envolventes", {0, 0}, {235, 55}) {
  new wxStaticBitmap(this, wxID_ANY, programIcon(), du(11, 17));
  addText(fromCp1252("envolventes Versi\xF3n 1.0"), 40, 10);
  addText("Envolventes de vigas continuas", 40, 25);
  // Not the stock OK id, whose stock look would replace the label.
  const wxWindowID accept = wxWindow::NewControlId();
  addButton(accept, "Aceptar", 178, 7, 50, 14)->SetDefault();
  SetAffirmativeId(accept);
  Bind(
      wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(wxID_OK); }, accept);
}

// ---------------------------------------------------------------- screen size

CScreenSizeDlg::CScreenSizeDlg(wxWindow* parent)
    : ViewerDialog(parent, "Selecciona ancho y alto de pantalla", {0, 0}, {335, 175}) {
  addButton(wxID_OK, "OK", 89, 147, 134, 14)->SetDefault();
  addText(wxString::Format("Alto(en pixeles)de la pantalla  [%d--%d]                    Pred.: %d", kDrawingHeight.low,
                           kDrawingHeight.high, kDrawingHeight.preset),
          16, 16);
  addText(wxString::Format("Ancho(en pixeles)de la pantalla  [%d--%d]                Pred.: %d", kDrawingWidth.low,
                           kDrawingWidth.high, kDrawingWidth.preset),
          16, 36);
  height_ = addEdit(1000, 250, 14, 40, 14);
  width_ = addEdit(1001, 250, 34, 40, 14);
  addBanners({1002, 1003, 1004}, {132, 141, 142}, {wxPoint(13, 61), wxPoint(23, 70), wxPoint(32, 78)});
  Bind(wxEVT_BUTTON, &CScreenSizeDlg::OnOk, this, wxID_OK);
}

int CScreenSizeDlg::ShowModal() {
  height_->ChangeValue(wxString::Format("%d", m_nHeight));
  width_->ChangeValue(wxString::Format("%d", m_nWidth));
  showBanner(m_nBanner);
  height_->SetFocus();
  return ViewerDialog::ShowModal();
}

void CScreenSizeDlg::OnOk(wxCommandEvent&) {
  struct Field {
    wxTextCtrl* edit;
    int low, high;
    int value;
  } fields[] = {{height_, kDrawingHeight.low, kDrawingHeight.high, 0},
                {width_, kDrawingWidth.low, kDrawingWidth.high, 0}};
  for (Field& field : fields) {
    if (!parseDialogInteger(fileNameBytes(field.edit->GetValue()), field.value)) {
      refuse(field.edit, integerMessage(), false);
      return;
    }
    if (field.value < field.low || field.value > field.high) {
      refuse(field.edit, rangeMessage(field.low, field.high), true);
      return;
    }
  }
  m_nHeight = fields[0].value;
  m_nWidth = fields[1].value;
  EndModal(wxID_OK);
}

// ---------------------------------------------------------------- existing or new

CEnvelopeModeDlg::CEnvelopeModeDlg(wxWindow* parent)
    : ViewerDialog(parent, "Selecciona la existencia de fichero de envolventes", {0, 0}, {338, 138}) {
  addButton(wxID_OK, "Existente", 7, 117, 102, 14)->SetDefault();
  addButton(wxID_CANCEL, "Nuevo", 226, 117, 105, 14);
  addBanners({1003, 1004, 1005}, {140, 131, 138}, {wxPoint(7, 13), wxPoint(17, 22), wxPoint(26, 30)});
  Bind(
      wxEVT_BUTTON,
      [this](wxCommandEvent&) {
        m_bExisting = 1;
        EndModal(wxID_OK);
      },
      wxID_OK);
}

int CEnvelopeModeDlg::ShowModal() {
  m_bExisting = 0;  // "Nuevo", Esc and the close box all leave it so
  showBanner(m_nBanner);
  return ViewerDialog::ShowModal();
}

// ---------------------------------------------------------------- envelope name

CEnvelopeNameDlg::CEnvelopeNameDlg(wxWindow* parent)
    : ViewerDialog(parent, "NOMBRE DEL FICHERO DE ENVOLVENTES", {2, 2}, {306, 226}) {
  addText(fromCp1252("Se ingresar\xE1 el nombre del fichero"), 23, 12);
  new wxStaticBox(this, wxID_ANY, "Importante", du(15, 26), du(wxSize(165, 42)));
  addText("El nombre puede tener hasta 40 caracteres y no", 21, 37);
  addText("debe tener espacios en blanco", 21, 50);
  name_ = addEdit(1140, 55, 76, 105, 14);
  name_->SetMaxLength(40);
  new wxStaticBitmap(this, wxID_ANY, wxGetApp().bannerBitmap(140), du(37, 124));
  addButton(wxID_OK, "OK", 7, 205, 50, 14)->SetDefault();
  addButton(wxID_CANCEL, "Cancel", 249, 205, 50, 14);
  Bind(wxEVT_BUTTON, &CEnvelopeNameDlg::OnOk, this, wxID_OK);
}

int CEnvelopeNameDlg::ShowModal() {
  name_->ChangeValue(m_strName);
  name_->SetFocus();
  name_->SelectAll();
  return ViewerDialog::ShowModal();
}

void CEnvelopeNameDlg::OnOk(wxCommandEvent&) {
  if (!checkLength(name_, 40)) return;
  m_strName = name_->GetValue();
  EndModal(wxID_OK);
}

// ---------------------------------------------------------------- project and envelope lists

FileListDialog::FileListDialog(wxWindow* parent, const wxString& caption, wxSize size, int nameLimit)
    : ViewerDialog(parent, caption, {2, 2}, size), nameLimit_(nameLimit) {}

void FileListDialog::addListControls(const wxString& hint) {
  m_list =
      new wxListBox(this, 1017, du(19, 11), du(wxSize(297, 56)), 0, nullptr, wxLB_SINGLE | wxLB_SORT | wxLB_ALWAYS_SB);
  addText(hint, 10, 76);
  name_ = addEdit(1018, 10, 92, 101, 14);
  if (nameLimit_ > 0) name_->SetMaxLength(nameLimit_);
  Bind(wxEVT_LISTBOX, &FileListDialog::OnSelect, this, 1017);
  Bind(wxEVT_BUTTON, &FileListDialog::OnOk, this, wxID_OK);
}

int FileListDialog::ShowModal() {
  name_->ChangeValue(m_strName);
  showBanner(m_nBanner);
  fillList();
  name_->SetFocus();
  return ViewerDialog::ShowModal();
}

void FileListDialog::fillList() {
  m_files = listDatStems(".", kMaxListedFiles);
  m_list->Clear();
  for (size_t k = 0; k < m_files.size(); ++k)
    m_list->Append(fileNameText(m_files[k]), reinterpret_cast<void*>(static_cast<intptr_t>(k)));
}

void FileListDialog::OnSelect(wxCommandEvent&) {
  int selected = m_list->GetSelection();
  if (selected == wxNOT_FOUND) return;
  auto entry = reinterpret_cast<intptr_t>(m_list->GetClientData(selected));
  m_strName = fileNameText(m_files[static_cast<size_t>(entry)]);
  name_->ChangeValue(m_strName);
}

void FileListDialog::OnOk(wxCommandEvent&) {
  if (!checkLength(name_, nameLimit_)) return;
  m_strName = name_->GetValue();
  EndModal(wxID_OK);
}

CProjectSelectDlg::CProjectSelectDlg(wxWindow* parent)
    : FileListDialog(parent, "Nombre del Proyecto", {351, 233}, 100) {
  addListControls("Seleccione del listado superior los proyectos a considerar para los diagramas envolventes");
  addBanners({1007, 1008, 1009}, {142, 132, 131}, {wxPoint(15, 114), wxPoint(25, 122), wxPoint(34, 131)});
  addButton(wxID_OK, "Seleccione el proyecto a sumar", 7, 212, 115, 14)->SetDefault();
  addButton(wxID_CANCEL, fromCp1252("Finaliza selecci\xF3n"), 194, 212, 150, 14);
}

CEnvelopeListDlg::CEnvelopeListDlg(wxWindow* parent)
    : FileListDialog(parent, "Nombre del Proyecto Envolvente", {351, 222}, 0) {
  addListControls("Seleccione del listado superior el fichero de envolventes existente  a presentar");
  addBanners({1004, 1005, 1006}, {139, 133, 131}, {wxPoint(15, 111), wxPoint(25, 119), wxPoint(34, 128)});
  addButton(wxID_OK, "OK", 7, 201, 50, 14)->SetDefault();
  addButton(wxID_CANCEL, "Cancel", 294, 201, 50, 14);
}

}  // namespace envelope

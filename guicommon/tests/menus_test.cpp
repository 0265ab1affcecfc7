// The keys the window programs' menus give their shared actions are the
// desktop's, as the toolkit reads them from the items' texts.
#include <gtest/gtest.h>
#include <wx/accel.h>
#include <wx/init.h>

#include "guicommon/guide.h"
#include "guicommon/menus.h"

TEST(Menus, SharedActionsHaveTheDesktopsKeys) {
  wxInitializer toolkit;
  ASSERT_TRUE(toolkit.IsOk());
  using guicommon::SharedCommand;
  const struct {
    std::string text;
    int flags, key;
  } items[] = {
      {guicommon::sharedItem("&Abrir...", SharedCommand::open), wxACCEL_CTRL, 'O'},
      {guicommon::sharedItem("&Guardar", SharedCommand::save), wxACCEL_CTRL, 'S'},
      {guicommon::sharedItem("&Imprimir...", SharedCommand::print), wxACCEL_CTRL, 'P'},
      {guicommon::sharedItem("&Salir", SharedCommand::quit), wxACCEL_CTRL, 'Q'},
      {guicommon::kGuideMenuText, wxACCEL_NORMAL, WXK_F1},
  };
  for (const auto& item : items) {
    wxAcceleratorEntry key;
    ASSERT_TRUE(key.FromString(wxString::From8BitData(item.text.c_str()))) << item.text;
    EXPECT_EQ(key.GetFlags(), item.flags) << item.text;
    EXPECT_EQ(key.GetKeyCode(), item.key) << item.text;
  }
}

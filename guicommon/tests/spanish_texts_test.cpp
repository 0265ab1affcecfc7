// The toolkit's own texts, and those of the native widgets under it, come
// out in Spanish in the C locale, whatever language the desktop has.
#include <gtest/gtest.h>
#include <wx/init.h>
#include <wx/intl.h>
#include <wx/stockitem.h>
#include <libintl.h>

#include <clocale>
#include <cstdlib>

#include "guicommon/spanish_texts.h"

TEST(SpanishTexts, TheToolkitsTextsAreSpanishInACLocale) {
  setenv("LC_ALL", "C", 1);
  setenv("LANG", "C", 1);
  unsetenv("LANGUAGE");
  std::setlocale(LC_ALL, "C");
  wxInitializer toolkit;
  ASSERT_TRUE(toolkit.IsOk());
  ASSERT_TRUE(guicommon::useSpanishToolkitTexts()) << "the toolkit's Spanish catalogue is not installed";
  const struct {
    const char* english;
    const char* spanish;
  } texts[] = {{"Cancel", "Cancelar"}, {"&Cancel", "&Cancelar"}, {"&Save", "&Guardar"}};
  for (const auto& t : texts) EXPECT_EQ(wxGetTranslation(t.english), wxString::FromUTF8(t.spanish)) << t.english;
  EXPECT_EQ(wxGetStockLabel(wxID_CANCEL, wxSTOCK_NOFLAGS), "Cancelar");
  // The native widgets' own catalogue: the stock buttons and the file chooser.
  EXPECT_STREQ(dgettext("gtk30", "_Cancel"), "_Cancelar");
  EXPECT_STREQ(dgettext("gtk30", "_OK"), "_Aceptar");
}

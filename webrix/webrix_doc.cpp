#include "webrix/webrix_doc.h"

wxIMPLEMENT_DYNAMIC_CLASS(CWebrixDoc, wxDocument);

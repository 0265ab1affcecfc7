#pragma once
// The toolkit's own texts (standard buttons, message boxes, the file
// chooser's buttons, the About box) in Spanish, as the suite's are, whatever
// the user's locale: its Spanish catalogue ("wxstd"), installed with the
// suite's packages.
namespace guicommon {

// Call once, before the first window. False when the catalogue is missing
// (the toolkit's texts then stay in English).
bool useSpanishToolkitTexts();

}  // namespace guicommon

#pragma once
// A beam's files in its folder: PROJECT.dat (the model), PROJECT.caf (the
// first load case) and, for each further case NAME, PROJECT_NAME.dat (the
// model again, without its own weight) and PROJECT_NAME.caf.
#include <string>
#include <vector>

#include "vigas/document.h"

namespace vigas {

// The base name of a case's files: "/obra/viga" for the first case of
// "/obra/viga.dat", "/obra/viga_NAME" for a further one.
std::string caseProject(const std::string& modelPath, const Content& content, int loadCase);

// The model file of a case as it is saved: the first case's is the model; a
// further case's has the self-weight switch at 0.
ModelData caseModel(const Content& content, int loadCase);

// Whether calcest takes the model file name of a case of the beam saved at
// `modelPath` (caseName "" for the first case, the project's own): "" when it
// does, else the reason. calcest is given the bare name, in its folder.
std::string caseFileNameFault(const std::string& modelPath, const std::string& caseName);

// Those faults of every case of the content saved at `modelPath`: on the
// General table for the first case, on its own table for a further one.
std::vector<CellError> fileNameFaults(const std::string& modelPath, const Content& content);

struct OpenResult {
  bool opened = false;
  // When the engines refuse the files, or they cannot be read: calcest's
  // message, the file it is about and the line of that file where the reading
  // stopped (0 when not known). A model the engines refuse that can still be
  // read value by value opens as typed, with its faults listed by the
  // document.
  std::string message;
  std::string file;
  int line = 0;
};

// Reads PROJECT.dat, PROJECT.caf and every PROJECT_NAME.caf beside them (as
// further cases, by name) into `document`, which is replaced only when the
// files open.
OpenResult openProject(const std::string& modelPath, Document& document);

// Writes the model and every case's files, all put in place together or none
// (no other file of the folder is touched). "" when saved, else why not: a
// content with errors is not saved. `modelPath` "" saves where it was opened.
std::string saveProject(Document& document, const std::string& modelPath = "");

}  // namespace vigas

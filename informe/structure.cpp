#include "informe/structure.h"

namespace informe {

std::string sourceAttributes(const char* file, const SourceValue& value) {
  std::string out;
  for (const auto& [name, text] : sourceData(file, value)) out += " " + name + "=\"" + escapeText(text) + "\"";
  return out;
}

}  // namespace informe

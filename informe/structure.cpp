#include "informe/structure.h"

namespace informe {

Data sourceData(const char* file, const SourceValue& value) {
  return {{"data-fuente", file}, {"data-linea", std::to_string(value.line)}, {"data-campo", std::to_string(value.field)}};
}

std::string sourceAttributes(const char* file, const SourceValue& value) {
  std::string out;
  for (const auto& [name, text] : sourceData(file, value)) out += " " + name + "=\"" + escapeText(text) + "\"";
  return out;
}

}  // namespace informe

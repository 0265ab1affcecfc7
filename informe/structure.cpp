#include "informe/structure.h"

namespace informe {

std::string sourceAttributes(const char* file, const SourceValue& value) {
  return pictures::markupAttributes(sourceData(file, value));
}

}  // namespace informe

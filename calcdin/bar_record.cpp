#include "calcdin/bar_record.h"

#include <sys/stat.h>

#include <vector>

#include "common/bar_record_layout.h"
#include "common/run_error.h"

namespace calcdin {

using namespace common;

BarRecord decodeBarRecord(const unsigned char* record) {
  namespace at = barrecord;
  BarRecord bar;
  bar.index = at::getInt(record + at::index);
  bar.nodeI = at::getInt(record + at::nodeI);
  bar.nodeJ = at::getInt(record + at::nodeJ);
  bar.type = at::getInt(record + at::type);
  bar.aclx = at::getDouble(record + at::aclx);
  bar.ablx = at::getDouble(record + at::ablx);
  bar.adlx = at::getDouble(record + at::adlx);
  bar.shear = at::getInt(record + at::shear);
  bar.E = at::getDouble(record + at::E);
  bar.G = at::getDouble(record + at::G);
  bar.A = at::getDouble(record + at::A);
  bar.m = at::getDouble(record + at::m);
  bar.I = at::getDouble(record + at::I);
  bar.L = at::getDouble(record + at::L);
  bar.cos = at::getDouble(record + at::cos);
  bar.sin = at::getDouble(record + at::sin);
  return bar;
}

void BarRecordFile::checkRecordCount(int nb) const {
  struct stat info {};
  if (fstat(fileno(file_), &info) != 0 || !S_ISREG(info.st_mode)) return;  // a pipe is checked record by record
  const long long size = static_cast<long long>(info.st_size);
  const long long needed = static_cast<long long>(nb) * static_cast<long long>(barrecord::kRecordSize);
  if (size < needed)
    throw RunError(
        formatText("ERROR: EL FICHERO DE BARRAS %s TIENE %lld BYTES Y NO CABEN LOS %d REGISTROS DE %d BYTES "
                   "DE LAS BARRAS (EJECUTE ANTES EL C\xC1LCULO EST\xC1TICO DEL MISMO MODELO)\n",
                   fileName_.c_str(), size, nb, static_cast<int>(barrecord::kRecordSize)));
  if (size > needed)
    throw RunError(
        formatText("ERROR: EL FICHERO DE BARRAS %s TIENE %lld BYTES, M\xC1S QUE LOS %d REGISTROS DE %d BYTES "
                   "DE LAS BARRAS DEL MODELO (EJECUTE ANTES EL C\xC1LCULO EST\xC1TICO DEL MISMO MODELO)\n",
                   fileName_.c_str(), size, nb, static_cast<int>(barrecord::kRecordSize)));
}

BarRecord BarRecordFile::read(int h, const BarInput& modelBar) const {
  std::vector<unsigned char> bytes(barrecord::kRecordSize);
  long long position = static_cast<long long>(h - 1) * static_cast<long long>(barrecord::kRecordSize);
  if (fseeko(file_, static_cast<off_t>(position), SEEK_SET) != 0 ||
      std::fread(bytes.data(), 1, barrecord::kRecordSize, file_) != barrecord::kRecordSize)
    throw RunError(formatText("ERROR: NO SE PUEDE LEER EL REGISTRO DE LA BARRA %d EN EL FICHERO DE BARRAS %s\n", h,
                              fileName_.c_str()));
  BarRecord bar = decodeBarRecord(bytes.data());
  // Records of another model, or of an older version of this one, would be
  // assembled into the wrong directions.
  if (bar.index != h || bar.nodeI != modelBar.nodeI || bar.nodeJ != modelBar.nodeJ)
    throw RunError(
        formatText("ERROR: EL REGISTRO %d DEL FICHERO DE BARRAS %s ES DE LA BARRA %d ENTRE LOS NODOS %d Y %d, "
                   "PERO LA BARRA %d DEL MODELO UNE LOS NODOS %d Y %d (EJECUTE ANTES EL C\xC1LCULO "
                   "EST\xC1TICO DEL MISMO MODELO)\n",
                   h, fileName_.c_str(), bar.index, bar.nodeI, bar.nodeJ, h, modelBar.nodeI, modelBar.nodeJ));
  return bar;
}

}  // namespace calcdin

#include "bar_record.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "run_error.h"

namespace calcdin {

int readInt32LE(const unsigned char* bytes) {
  std::uint32_t value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                        static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
  std::int32_t result;
  std::memcpy(&result, &value, sizeof result);
  return result;
}

double readDoubleLE(const unsigned char* bytes) {
  std::uint64_t value = 0;
  for (int b = 7; b >= 0; --b) value = value << 8 | bytes[b];
  double result;
  std::memcpy(&result, &value, sizeof result);
  return result;
}

BarRecord decodeBarRecord(const unsigned char* record) {
  BarRecord bar;
  bar.index = readInt32LE(record + offset::index);
  bar.nodeI = readInt32LE(record + offset::nodeI);
  bar.nodeJ = readInt32LE(record + offset::nodeJ);
  bar.type = readInt32LE(record + offset::type);
  bar.aclx = readDoubleLE(record + offset::aclx);
  bar.ablx = readDoubleLE(record + offset::ablx);
  bar.adlx = readDoubleLE(record + offset::adlx);
  bar.shear = readInt32LE(record + offset::shear);
  bar.E = readDoubleLE(record + offset::E);
  bar.G = readDoubleLE(record + offset::G);
  bar.A = readDoubleLE(record + offset::A);
  bar.m = readDoubleLE(record + offset::m);
  bar.I = readDoubleLE(record + offset::I);
  bar.L = readDoubleLE(record + offset::L);
  bar.cos = readDoubleLE(record + offset::cos);
  bar.sin = readDoubleLE(record + offset::sin);
  return bar;
}

void BarRecordFile::checkRecordCount(int nb) const {
  struct stat info {};
  if (fstat(fileno(file_), &info) != 0 || !S_ISREG(info.st_mode)) return;  // a pipe is checked record by record
  const long long size = static_cast<long long>(info.st_size);
  const long long needed = static_cast<long long>(nb) * static_cast<long long>(kBarRecordSize);
  if (size < needed)
    throw RunError(formatText("ERROR: EL FICHERO DE BARRAS %s TIENE %lld BYTES Y NO CABEN LOS %d REGISTROS DE %d BYTES "
                              "DE LAS BARRAS (EJECUTE ANTES EL C\xC1LCULO EST\xC1TICO DEL MISMO MODELO)\n",
                              fileName_.c_str(), size, nb, static_cast<int>(kBarRecordSize)));
  if (size > needed)
    throw RunError(formatText("ERROR: EL FICHERO DE BARRAS %s TIENE %lld BYTES, M\xC1S QUE LOS %d REGISTROS DE %d BYTES "
                              "DE LAS BARRAS DEL MODELO (EJECUTE ANTES EL C\xC1LCULO EST\xC1TICO DEL MISMO MODELO)\n",
                              fileName_.c_str(), size, nb, static_cast<int>(kBarRecordSize)));
}

BarRecord BarRecordFile::read(int h, const BarInput& modelBar) const {
  std::vector<unsigned char> bytes(kBarRecordSize);
  long long position = static_cast<long long>(h - 1) * static_cast<long long>(kBarRecordSize);
  if (fseeko(file_, static_cast<off_t>(position), SEEK_SET) != 0 ||
      std::fread(bytes.data(), 1, kBarRecordSize, file_) != kBarRecordSize)
    throw RunError(formatText("ERROR: NO SE PUEDE LEER EL REGISTRO DE LA BARRA %d EN EL FICHERO DE BARRAS %s\n", h,
                              fileName_.c_str()));
  BarRecord bar = decodeBarRecord(bytes.data());
  // Records of another model, or of an older version of this one, would be
  // assembled into the wrong directions.
  if (bar.index != h || bar.nodeI != modelBar.nodeI || bar.nodeJ != modelBar.nodeJ)
    throw RunError(formatText("ERROR: EL REGISTRO %d DEL FICHERO DE BARRAS %s ES DE LA BARRA %d ENTRE LOS NODOS %d Y %d, "
                              "PERO LA BARRA %d DEL MODELO UNE LOS NODOS %d Y %d (EJECUTE ANTES EL C\xC1LCULO "
                              "EST\xC1TICO DEL MISMO MODELO)\n",
                              h, fileName_.c_str(), bar.index, bar.nodeI, bar.nodeJ, h, modelBar.nodeI,
                              modelBar.nodeJ));
  return bar;
}

}  // namespace calcdin

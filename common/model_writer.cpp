#include "common/model_writer.h"

#include <charconv>

namespace common {

std::string exactReal(double value) {
  char text[32];
  const std::to_chars_result result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

namespace {
int countOf(size_t tableSize) { return tableSize > 0 ? static_cast<int>(tableSize) - 1 : 0; }

// Values of one line, separated by a blank.
class Line {
 public:
  Line& operator<<(int value) { return add(std::to_string(value)); }
  Line& operator<<(double value) { return add(exactReal(value)); }
  Line& operator<<(const std::string& word) { return add(word); }
  std::string end() { return text_ + "\n"; }

 private:
  Line& add(const std::string& word) {
    if (!text_.empty()) text_ += ' ';
    text_ += word;
    return *this;
  }
  std::string text_;
};

std::string headerText(const ModelData& model) {
  const ModelHeader& h = model.header;
  std::string text = (Line() << h.title << h.echoed << h.unitCode).end();
  return text + (Line() << countOf(model.bars.size()) << countOf(model.nodes.size()) << countOf(model.supports.size())
                        << countOf(model.nodalLoads.size()) << countOf(model.materials.size())
                        << countOf(model.sections.size()) << h.unusedCount << countOf(model.ties.size()) << h.selfWeight
                        << h.extra)
                    .end();
}

std::string barText(const BarInput& bar) {
  std::string text =
      (Line() << bar.label << bar.labelI << bar.labelJ << bar.material << bar.section << bar.type << bar.type7).end();
  return text + (Line() << bar.aclx << bar.adlx << bar.ablx << bar.shear << bar.taper).end();
}

std::string supportText(const Support& support) {
  Line line;
  line << support.label << support.code;
  for (SupportField field : SupportCode(support.code).fields()) line << givenSupportValue(support, field);
  return line.end();
}

std::string nodalLoadText(const NodalLoad& load) {
  Line line;
  line << load.label;
  for (int d = 0; d < 3; ++d) line << load.code[d] << load.value[d];
  return line.end();
}
}  // namespace

std::string modelText(const ModelData& model) {
  std::string text = headerText(model);
  for (size_t k = 1; k < model.nodes.size(); ++k)
    text += (Line() << model.nodes[k].label << model.nodes[k].x << model.nodes[k].y).end();
  for (size_t k = 1; k < model.bars.size(); ++k) text += barText(model.bars[k]);
  for (size_t k = 1; k < model.sections.size(); ++k) {
    const Section& s = model.sections[k];
    text += (Line() << s.id << s.A << s.I << s.b << s.h).end();
  }
  for (size_t k = 1; k < model.materials.size(); ++k) {
    const Material& m = model.materials[k];
    text += (Line() << m.id << m.E << m.G << m.gamma << m.alpha).end();
  }
  for (size_t k = 1; k < model.supports.size(); ++k) text += supportText(model.supports[k]);
  for (size_t k = 1; k < model.ties.size(); ++k) {
    const Tie& t = model.ties[k];
    text += (Line() << t.labelA << t.labelB << t.dirA << t.dirB << t.value).end();
  }
  for (size_t k = 1; k < model.nodalLoads.size(); ++k) text += nodalLoadText(model.nodalLoads[k]);
  return text;
}

std::string loadsText(const std::vector<BarLoad>& loads) {
  std::string text;
  for (const BarLoad& load : loads)
    text += (Line() << load.barLabel << load.ltype << load.a << load.c << load.b << load.q << std::string(1, load.dir))
                .end();
  return text;
}

}  // namespace common

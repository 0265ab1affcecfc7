#include "common/support_code.h"

namespace common {

namespace {
Restraint restraintOfDigit(int digit) {
  return digit == 1 ? Restraint::rigid : digit == 2 ? Restraint::spring : Restraint::free;
}

bool actsDigitByDigit(int code) {
  if (code < 10 || code > 222) return false;
  for (int rest = code; rest > 0; rest /= 10)
    if (rest % 10 > 2) return false;
  return true;
}
}  // namespace

const char* supportKindName(int code) {
  switch (code) {
    case 4: return "inclinado deslizante";
    case 14: return "inclinado deslizante sin giro";
    case 54: return "resorte inclinado";
    case 64: return "resorte inclinado y de giro";
    case 110: return "articulado";
    case 10: return "deslizante";
    case 111: return "empotrado";
    case 11: return "empotrado deslizante";
    case 20: return "muelle vertical";
    default: return nullptr;
  }
}

SupportCode::SupportCode(int code) : code_(code), digitCode_(actsDigitByDigit(code)) {
  switch (code) {
    case 4: inclined_ = Restraint::rigid; return;
    case 14:
      inclined_ = Restraint::rigid;
      restraints_[2] = Restraint::rigid;
      return;
    case 54: inclined_ = Restraint::spring; return;
    case 64:
      inclined_ = Restraint::spring;
      restraints_[2] = Restraint::spring;
      return;
    default: break;
  }
  if (!digitCode_) {
    // Every other code acts as 110: horizontal and vertical rigid.
    restraints_[0] = restraints_[1] = Restraint::rigid;
    return;
  }
  const int digits[3] = {code / 100, (code / 10) % 10, code % 10};
  for (int d = 0; d < 3; ++d) restraints_[d] = restraintOfDigit(digits[d]);
}

bool SupportCode::isElastic() const {
  if (inclined_ == Restraint::spring) return true;
  for (Restraint r : restraints_)
    if (r == Restraint::spring) return true;
  return false;
}

std::vector<SupportField> SupportCode::fields() const {
  using F = SupportField;
  switch (code_) {
    case 4: return {F::rz, F::angle};
    case 14: return {F::dx, F::angle, F::rz};
    case 54: return {F::kx, F::angle};
    case 64: return {F::kx, F::angle, F::kz};
    default: break;
  }
  // One value per restrained direction: horizontal, vertical, rotation.
  const F rigid[3] = {F::dx, F::dy, F::rz};
  const F spring[3] = {F::kx, F::ky, F::kz};
  std::vector<F> fields;
  for (int d = 0; d < 3; ++d) {
    if (restraints_[d] == Restraint::rigid) fields.push_back(rigid[d]);
    if (restraints_[d] == Restraint::spring) fields.push_back(spring[d]);
  }
  return fields;
}

bool SupportCode::holdsBeamUp() const { return isInclined() || along(Direction::vertical) != Restraint::free; }

bool SupportCode::hasModalVerticalSpring() const { return along(Direction::vertical) == Restraint::spring; }

std::vector<Direction> SupportCode::modalRemovals(bool verticalSpringsRemoved) const {
  std::vector<Direction> removed = {Direction::horizontal};
  if (code_ == 121) removed.push_back(Direction::rotation);
  if (!hasModalVerticalSpring() || verticalSpringsRemoved) removed.push_back(Direction::vertical);
  if (code_ == 111) removed.push_back(Direction::rotation);
  return removed;
}

}  // namespace common

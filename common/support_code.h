#pragma once
// A support code of the model file and how the engine acts on it. The digits
// of codes 10..222 made of 0, 1 and 2 give the horizontal, vertical and
// rotational direction (0 free, 1 rigid, 2 spring); 4, 14, 54 and 64 act along
// an inclined direction; every other code acts as 110. Every program asks this
// type rather than reading the digits itself, so all of them read a support alike.
#include <vector>

namespace common {

enum class Restraint { free, rigid, spring };
enum class Direction { horizontal = 0, vertical = 1, rotation = 2 };

// Where each value that follows a support code goes, in the order read.
enum class SupportField { dx, dy, rz, angle, kx, ky, kz };

// The name a support kind goes by ("articulado", "empotrado"...) in every
// program that names it; nullptr for a code without one.
const char* supportKindName(int code);

class SupportCode {
 public:
  explicit SupportCode(int code);

  int value() const { return code_; }

  // Codes that act digit by digit: 10..222, every digit 0, 1 or 2.
  bool isDigitCode() const { return digitCode_; }

  // The restraint of one direction. An inclined code restrains a translation
  // along its angle only, so its horizontal and vertical directions are free
  // one by one; its rotation is restrained as listed.
  Restraint along(Direction direction) const { return restraints_[static_cast<int>(direction)]; }

  // Codes 4, 14 (rigid) and 54, 64 (spring) act along (sin a, -cos a).
  bool isInclined() const { return inclined_ != Restraint::free; }
  Restraint inclined() const { return inclined_; }

  // Whether any direction, the inclined one included, is a spring.
  bool isElastic() const;

  // The values read after the code, in order.
  std::vector<SupportField> fields() const;

  // The field holding the displacement prescribed along an inclined rigid
  // support (its first value: rz for code 4, dx for 14).
  SupportField inclinedPrescribedField() const { return code_ == 4 ? SupportField::rz : SupportField::dx; }

  // A vertical restraint, rigid or spring, or an inclined one: the support ends
  // a span of a continuous beam.
  bool holdsBeamUp() const;

  // The directions the modal engine removes for this support, in its order, by
  // its own table: the horizontal always; then the rotation of 121; the vertical
  // unless it is a spring (vertical digit 2) kept on its stiffness, which only
  // `verticalSpringsRemoved` removes too; then the rotation of 111.
  std::vector<Direction> modalRemovals(bool verticalSpringsRemoved) const;

  // A vertical spring the modal engine keeps in its system (with its ky) when
  // springs are not removed.
  bool hasModalVerticalSpring() const;

 private:
  int code_;
  bool digitCode_ = false;
  Restraint restraints_[3] = {Restraint::free, Restraint::free, Restraint::free};
  Restraint inclined_ = Restraint::free;
};

}  // namespace common

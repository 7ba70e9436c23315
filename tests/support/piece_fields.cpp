// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/piece_fields.h"

#include <array>
#include <string>
#include <vector>

namespace vortan {
namespace {

std::string TypeName(int type) {
  static constexpr std::array<const char*, kTypeCount + 1> kNames = {
      "City",    "Army",      "Destroyer", "Fighter", "Bomber", "Battleship",
      "Carrier", "Submarine", "Transport", "Para",    "None"};
  return type >= 0 && type <= kTypeCount ? kNames[type] : "type " + std::to_string(type);
}

std::string StateName(int state) {
  static constexpr std::array<const char*, 4> kNames = {"Ready", "Asleep", "AwaitingOrders", "Returning"};
  return state >= 0 && state < 4 ? kNames[state] : "state " + std::to_string(state);
}

std::string Number(int n) { return std::to_string(n); }
std::string CellText(test::Cell c) { return "(" + std::to_string(c.x) + "," + std::to_string(c.y) + ")"; }

// The compared fields as data: name, where the expectation holds it, how to
// read it from a piece and how to show it.
struct NumberField {
  const char* name;
  std::optional<int> test::PieceFields::*want;
  int (*read)(const PieceRecord&);
  std::string (*show)(int);
};
const NumberField kNumberFields[] = {
    {"type", &test::PieceFields::type, [](const PieceRecord& p) { return +p.type; }, TypeName},
    {"owner", &test::PieceFields::owner, [](const PieceRecord& p) { return +p.owner; }, Number},
    {"state", &test::PieceFields::state, [](const PieceRecord& p) { return +p.state; }, StateName},
    {"moves", &test::PieceFields::moves, [](const PieceRecord& p) { return +p.movesLeft; }, Number},
    {"strength", &test::PieceFields::strength, [](const PieceRecord& p) { return +p.strength; }, Number},
    {"fuel", &test::PieceFields::fuel, [](const PieceRecord& p) { return +p.fuel; }, Number},
    {"production", &test::PieceFields::production, [](const PieceRecord& p) { return +p.production; }, TypeName},
    {"daysLeft", &test::PieceFields::daysLeft, [](const PieceRecord& p) { return +p.daysLeft; }, Number},
    {"facing", &test::PieceFields::facing, [](const PieceRecord& p) { return +p.facing; }, Number},
};
struct CellField {
  const char* name;
  std::optional<test::Cell> test::PieceFields::*want;
  test::Cell (*read)(const PieceRecord&);
};
const CellField kCellFields[] = {
    {"pos", &test::PieceFields::pos,
     [](const PieceRecord& p) {
       return test::Cell{p.x, p.y};
     }},
    {"dest", &test::PieceFields::dest,
     [](const PieceRecord& p) {
       return test::Cell{p.destX, p.destY};
     }},
};

// "name value" (or "name is value") for each field `pick` yields a text for, comma-separated.
template <class Pick>
std::string Listing(Pick pick, const char* between = " ") {
  std::string text;
  const auto add = [&](const char* name, const std::optional<std::string>& value) {
    if (value) text += (text.empty() ? "" : ", ") + std::string(name) + between + *value;
  };
  for (const NumberField& f : kNumberFields) add(f.name, pick(f));
  for (const CellField& f : kCellFields) add(f.name, pick(f));
  return text;
}

class HasFieldsMatcher : public ::testing::MatcherInterface<const PieceRecord&> {
 public:
  explicit HasFieldsMatcher(const test::PieceFields& want) : want_(want) {}
  bool MatchAndExplain(const PieceRecord& piece, ::testing::MatchResultListener* listener) const override {
    const std::string wrong = Listing(
        [&](const auto& f) -> std::optional<std::string> {
          const auto& expected = want_.*f.want;
          if (!expected) return std::nullopt;
          if constexpr (std::is_same_v<std::decay_t<decltype(f)>, NumberField>)
            return f.read(piece) == *expected ? std::nullopt : std::optional(f.show(f.read(piece)));
          else {
            const test::Cell c = f.read(piece);
            return c.x == expected->x && c.y == expected->y ? std::nullopt : std::optional(CellText(c));
          }
        },
        " is ");
    if (!wrong.empty()) *listener << "whose " << wrong;
    return wrong.empty();
  }
  void DescribeTo(std::ostream* os) const override { *os << "a piece with " << want_; }
  void DescribeNegationTo(std::ostream* os) const override { *os << "a piece without " << want_; }

 private:
  test::PieceFields want_;
};

}  // namespace

void PrintTo(const PieceRecord& piece, std::ostream* os) {
  test::PieceFields all;
  for (const NumberField& f : kNumberFields) all.*f.want = f.read(piece);
  for (const CellField& f : kCellFields) all.*f.want = f.read(piece);
  *os << "{" << all << "}";
}

namespace test {

std::ostream& operator<<(std::ostream& os, const PieceFields& fields) {
  return os << Listing([&](const auto& f) -> std::optional<std::string> {
           const auto& value = fields.*f.want;
           if (!value) return std::nullopt;
           if constexpr (std::is_same_v<std::decay_t<decltype(f)>, NumberField>)
             return f.show(*value);
           else
             return CellText(*value);
         });
}

::testing::Matcher<const PieceRecord&> HasFields(const PieceFields& want) {
  return ::testing::MakeMatcher(new HasFieldsMatcher(want));
}

}  // namespace test
}  // namespace vortan

// SPDX-License-Identifier: GPL-3.0-or-later
// The rules the player reads in Help > Rules say what the program does: every
// numbered statement of "The pieces in numbers" is checked against the game.
#include <regex>

#include "model/piece_types.h"
#include "rules/combat.h"
#include "rules/movement.h"
#include "support/rules_fixture.h"

namespace vortan::test {
namespace {

std::string ReadRulesDocument() { return ReadText(VORTAN_SOURCE_DIR "/resources/rules/rules.html"); }

// The numbered statements, tags removed and white space made single.
std::vector<std::string> NumberedStatements(const std::string& html) {
  const std::size_t start = html.find("<ol id=\"facts\">"), end = html.find("</ol>", start);
  if (start == std::string::npos || end == std::string::npos) return {};
  const std::string list = html.substr(start, end - start);
  std::vector<std::string> out;
  const std::regex item(R"(<li>([\s\S]*?)</li>)");
  for (auto it = std::sregex_iterator(list.begin(), list.end(), item); it != std::sregex_iterator(); ++it) {
    std::string text = std::regex_replace((*it)[1].str(), std::regex("<[^>]*>"), "");
    out.push_back(std::regex_replace(text, std::regex("\\s+"), " "));
  }
  return out;
}

int TypeNamed(std::string name) {
  for (char& c : name) c = static_cast<char>(std::tolower(c));
  if (name.size() > 3 && name.ends_with("ies")) name = name.substr(0, name.size() - 3) + "y";  // armies
  for (int t = 1; t < kTypeCount; ++t) {
    std::string label = kPieceTypeDefaults[t].label;
    for (char& c : label) c = static_cast<char>(std::tolower(c));
    if (label == name || label == name + "s" || label + "s" == name) return t;
  }
  return PieceType::None;
}

struct RulesDocumentTest : WorldTest<> {
  // How many of `count + 1` pieces of the cargo type a ship takes along.
  int CarriedOf(int shipType, int cargoType, int count) {
    Build({"......", "......", "......"});
    std::vector<int> cargo;
    for (int k = 0; k <= count; ++k) cargo.push_back(AddPiece(g, cargoType, 0, 2, 1));
    const int ship = AddPiece(g, shipType, 0, 2, 1);
    PerformStep(g, ship, 3, 1);
    return static_cast<int>(std::count_if(cargo.begin(), cargo.end(), [&](int c) { return P(c).x == 3; }));
  }
  // The production and days left of a city an army takes, neutral or enemy.
  std::pair<int, int> TakenCity(bool enemy) {
    Build({"+++", "+*+", "+++"});
    g.settings.kind[0] = PlayerKind::Human;
    const int army = AddPiece(g, PieceType::Army, 0, 0, 1);
    if (!enemy) {
      PerformStep(g, army, 1, 1);
      return {P(army).production, P(army).daysLeft};
    }
    const int city = AddCity(g, 1, 1, 1, PieceType::Battleship);
    P(city).daysLeft = 3;
    g.state.currentPlayer = 0;
    ResolveAttack(g, army, MapPos{1, 1});
    EXPECT_EQ(P(city).owner, 0) << "the army did not take the undefended city";
    return {P(city).production, P(city).daysLeft};
  }
};

TEST_F(RulesDocumentTest, EveryNumberedStatementHoldsInTheGame) {
  const std::vector<std::string> statements = NumberedStatements(ReadRulesDocument());
  ASSERT_GE(statements.size(), 12u) << "the rules document lost its numbered statements";
  const std::regex attributes(
      R"(^An? (\w+) is built in (\d+) days and moves (\d+) cells? a turn(?:, with fuel for (\d+) moves)?\.$|^(\w+) are built in (\d+) days and move (\d+) cells? a turn(?:, with fuel for (\d+) moves)?\.$)");
  const std::regex carries(R"(^A (\w+) carries up to (\d+) (\w+)\.$)");
  const std::regex taken(R"(^An? (neutral|enemy) city .* army.* starts on armies with the full (\d+) days to go.*\.$)");
  for (std::size_t n = 0; n < statements.size(); ++n) {
    const std::string& s = statements[n];
    SCOPED_TRACE("statement " + std::to_string(n + 1) + ": " + s);
    std::smatch m;
    if (std::regex_match(s, m, attributes)) {
      const int k = m[1].matched ? 1 : 5;
      const int type = TypeNamed(m[k]);
      ASSERT_NE(type, PieceType::None) << "no piece type is called " << m[k];
      ApplyDefaultPieceAttributes(g.settings);
      EXPECT_EQ(std::stoi(m[k + 1]), g.settings.days[type]) << "build days";
      EXPECT_EQ(std::stoi(m[k + 2]), g.settings.moves[type]) << "moves";
      EXPECT_EQ(m[k + 3].matched ? std::stoi(m[k + 3]) : 0, NewPieceFuel(type)) << "fuel of a new piece";
      if (m[k + 3].matched) {
        EXPECT_EQ(std::stoi(m[k + 3]), g.settings.fuel[type]) << "fuel attribute";
      }
    } else if (std::regex_match(s, m, carries)) {
      const int ship = TypeNamed(m[1]), cargo = TypeNamed(m[3]), count = std::stoi(m[2]);
      ASSERT_TRUE(ship != PieceType::None && cargo != PieceType::None) << "unknown piece type";
      EXPECT_EQ(CarriedOf(ship, cargo, count), count) << "pieces carried of " << count + 1 << " waiting";
    } else if (std::regex_match(s, m, taken)) {
      const auto [production, days] = TakenCity(m[1] == "enemy");
      EXPECT_EQ(production, PieceType::Army) << "what the taken city builds";
      EXPECT_EQ(std::stoi(m[2]), days) << "days to go";
      EXPECT_EQ(days, g.settings.days[PieceType::Army]) << "the full building time";
    } else {
      ADD_FAILURE() << "a numbered statement this test cannot check; word it like the others or add a check";
    }
  }
}

// The prose around the numbers once claimed what the program never did.
TEST_F(RulesDocumentTest, TheProseMakesNoClaimTheProgramContradicts) {
  const std::string html = ReadRulesDocument();
  for (const char* wrong : {"keeps its production", "with everything it was building", "whose turn it is",
                            "a message names the next player"})
    EXPECT_EQ(html.find(wrong), std::string::npos) << "the rules still say \"" << wrong << "\"";
}

}  // namespace
}  // namespace vortan::test

// SPDX-License-Identifier: GPL-3.0-or-later
// Several values checked in one comparison, each printed with the expression
// it came from, so a failure names the value that is wrong:
//   EXPECT_THAT(NAMED(g.state.currentPlayer, g.state.day), ElementsAre(3, 4));
//   ...  Actual: { g.state.currentPlayer = 0, g.state.day = 4 }, whose element #0 doesn't match
#pragma once

#include <gmock/gmock.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vortan::test {

struct Named {
  std::string name;
  long long value = 0;
  friend bool operator==(const Named& n, long long v) { return n.value == v; }
  friend void PrintTo(const Named& n, std::ostream* os) { *os << n.name << " = " << n.value; }
};

// The comma-separated expressions of `names`, commas inside brackets kept.
std::vector<std::string> SplitExpressions(std::string_view names);

template <class... Values>
std::vector<Named> NamedValues(std::string_view names, const Values&... values) {
  const std::vector<std::string> name = SplitExpressions(names);
  std::vector<Named> out;
  (out.push_back({name.at(out.size()), static_cast<long long>(values)}), ...);
  return out;
}

#define NAMED(...) ::vortan::test::NamedValues(#__VA_ARGS__, __VA_ARGS__)

}  // namespace vortan::test

// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/named_values.h"

namespace vortan::test {

std::vector<std::string> SplitExpressions(std::string_view names) {
  std::vector<std::string> out(1);
  int depth = 0;
  for (char c : names) {
    depth += (c == '(' || c == '[' || c == '{') - (c == ')' || c == ']' || c == '}');
    if (c == ',' && depth == 0)
      out.emplace_back();
    else if (c != ' ' || !out.back().empty())
      out.back() += c;
  }
  return out;
}

}  // namespace vortan::test

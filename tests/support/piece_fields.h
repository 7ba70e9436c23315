// SPDX-License-Identifier: GPL-3.0-or-later
// Pieces compared and printed by named fields, so that a failing expectation
// says which field of which piece is wrong ("whose state is Returning").
#pragma once

#include <gmock/gmock.h>

#include <optional>
#include <ostream>

#include "model/records.h"

namespace vortan {

// How gtest shows a piece: every field by name, types and states in words.
void PrintTo(const PieceRecord& piece, std::ostream* os);

namespace test {

struct Cell {
  int x = 0, y = 0;
};

// The fields of a piece a test expects; those left unset are not compared.
struct PieceFields {
  std::optional<int> type{}, owner{}, state{}, moves{}, strength{}, fuel{}, production{}, daysLeft{}, facing{};
  std::optional<Cell> pos{}, dest{};
};
std::ostream& operator<<(std::ostream& os, const PieceFields& fields);

// Matches a piece whose fields equal every set field of `want`; a mismatch
// lists the differing fields with their actual values.
::testing::Matcher<const PieceRecord&> HasFields(const PieceFields& want);

}  // namespace test
}  // namespace vortan

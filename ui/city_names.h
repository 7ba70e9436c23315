// SPDX-License-Identifier: GPL-3.0-or-later
// The names of the cities. A name is not stored with the city: it follows
// from the land mass of the city's cell and the city's ordinal on it.
#pragma once

#include <string>
#include <string_view>

#include "model/game.h"
#include "model/piece_types.h"

namespace vortan {

inline constexpr int kCityNamesPerLandMass = kMaxCitiesPerLandMass;
inline constexpr int kNamedLandMasses = 32;       // the classic table
inline constexpr int kExtraNamedLandMasses = 47;  // land masses 33 to 79

// The classic 192 names, six per land mass 1 to 32, in table order.
extern const char* const kCityNames[kNamedLandMasses * kCityNamesPerLandMass];
// Names of our own for land masses 33 to 79, none of them in the classic table.
extern const char* const kExtraCityNames[kExtraNamedLandMasses * kCityNamesPerLandMass];

// The name for a land mass (1 to 79) and an ordinal (0 to 5); outside that
// range a numbered stand-in, so that no city is ever without a name.
std::string CityNameFor(int landMass, int ordinal);
// The name of the city in piece-table slot `city`.
std::string CityName(const Game& g, int city);

}  // namespace vortan

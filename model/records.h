// SPDX-License-Identifier: GPL-3.0-or-later
// The four blocks that make up a game, plus the land-mass table.
// In memory they are ordinary structs with named fields; the exact little-endian
// byte layouts (which are also the saved-game format) live in record_codec.cpp.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vortan {

constexpr int kPlayerCount = 6;
constexpr int kPieceSlots = 500;
constexpr int kGridSide = 70;       // the world grid is always 70 x 70 cells
constexpr int kLandMassSlots = 80;  // entry 0 is "no land mass"
constexpr int kTypeCount = 10;      // PieceType codes 0..9 (10 = none)

constexpr int kSettingsBytes = 56;
constexpr int kStateBytes = 108;
constexpr int kPieceBytes = 16;
constexpr int kPieceTableBytes = kPieceSlots * kPieceBytes;  // 8000
constexpr int kCellBytes = 12;
constexpr int kWorldBytes = kGridSide * kGridSide * kCellBytes;                                 // 58800
constexpr int kSavedGameBytes = kSettingsBytes + kStateBytes + kPieceTableBytes + kWorldBytes;  // 66964

namespace PieceType {
enum : uint8_t { City = 0, Army, Destroyer, Fighter, Bomber, Battleship, Carrier, Submarine, Transport, Para, None };
}
namespace Terrain {
enum : uint8_t { Sea = 0, Land, City, Mountain };
}
namespace PieceState {
enum : uint8_t { Ready = 0, Asleep, AwaitingOrders, Returning };
}
namespace PlayerKind {
enum : uint8_t { Out = 0, Human, Computer };
}
namespace Difficulty {
enum : uint8_t { Simple = 0, Easy, Tricky, Hard };
}
namespace LandMassStatus {
enum : int32_t { Secure = 0, Contested, BeingTaken, Open };
}

// A cell position; in the original model one 16-bit value, low byte x, high byte y.
struct MapPos {
  uint8_t x = 0;
  uint8_t y = 0;
  // The position as that 16-bit value, and back.
  constexpr uint16_t Packed() const { return static_cast<uint16_t>(x | (y << 8)); }
  static constexpr MapPos FromPacked(uint16_t v) {
    return MapPos{static_cast<uint8_t>(v & 0xFF), static_cast<uint8_t>(v >> 8)};
  }
  friend constexpr bool operator==(MapPos a, MapPos b) { return a.x == b.x && a.y == b.y; }
};

struct MapCell {  // 12 bytes
  uint8_t terrain = 0;
  uint8_t explored = 0;
  uint8_t visible = 0;
  uint8_t landMass = 0;
  uint8_t topType = PieceType::None;
  uint8_t topOwner = 0;
  uint8_t cityOrdinal = 0;
  uint8_t tileVariant = 0;
  uint8_t fighterRange = 0;
  uint8_t bomberRange = 0;
  uint8_t safeCityRange = 0;
  uint8_t topFacing = 0;
};

struct PieceRecord {  // 16 bytes
  uint8_t type = PieceType::None;
  uint8_t owner = 0;
  uint8_t movesLeft = 0;
  uint8_t state = 0;
  uint8_t x = 0;
  uint8_t y = 0;
  uint8_t destX = 0;
  uint8_t destY = 0;
  int16_t strength = 0;
  int16_t fuel = 0;
  uint8_t facing = 0;
  uint8_t production = 0;
  uint8_t daysLeft = 0;
  uint8_t unused15 = 0;

  // A slot without a piece.
  bool IsEmpty() const { return type == PieceType::None; }
  // Where the piece stands, and where it is ordered to go.
  MapPos Pos() const { return MapPos{x, y}; }
  MapPos Dest() const { return MapPos{destX, destY}; }
};

struct GameSettings {  // 56 bytes
  float version = 0.0f;
  uint8_t width = 0;
  uint8_t height = 0;
  uint8_t landMassCount = 0;
  uint8_t difficulty = 0;
  std::array<uint8_t, kPlayerCount> kind{};
  uint8_t landAmount = 0;
  std::array<uint8_t, kTypeCount> inUse{};
  std::array<uint8_t, kTypeCount> days{};
  std::array<uint8_t, kTypeCount> moves{};
  std::array<uint8_t, kTypeCount> fuel{};
  uint8_t unused55 = 0;
};

struct GameState {  // 108 bytes
  int16_t currentPiece = 0;
  std::array<uint8_t, 2> unused2{};
  int16_t currentPlayer = 0;
  int16_t day = 0;
  int16_t viewingPlayer = 0;
  int16_t gameActive = 0;
  int16_t demoMode = 0;
  int16_t zoomIsWhole = 0;
  uint8_t tileSize = 0;
  uint8_t mapHidden = 0;
  std::array<uint8_t, 2> unused18{};
  std::array<uint8_t, kPlayerCount> eliminated{};
  std::array<uint8_t, kPlayerCount> autoPlay{};
  std::array<int16_t, kPlayerCount> savedViewX{};
  std::array<int16_t, kPlayerCount> savedViewY{};
  std::array<int16_t, kPlayerCount> homeX{};
  std::array<int16_t, kPlayerCount> homeY{};
  int16_t viewX = 0;
  int16_t viewY = 0;
  std::array<int16_t, kPlayerCount> playerBit{};
  std::array<int16_t, kPlayerCount> moveMemory{};
};

struct PieceTable {  // 500 x 16 = 8000 bytes
  std::array<PieceRecord, kPieceSlots> slots{};
  // Slot i, 0 .. kPieceSlots - 1.
  PieceRecord& operator[](int i) { return slots[static_cast<std::size_t>(i)]; }
  const PieceRecord& operator[](int i) const { return slots[static_cast<std::size_t>(i)]; }
};

struct World {  // 70 x 70 x 12 = 58800 bytes
  std::array<MapCell, kGridSide * kGridSide> cells{};
  // The cell at column x, row y of the 70 x 70 grid (not wrapped).
  MapCell& At(int x, int y) { return cells[static_cast<std::size_t>(y * kGridSide + x)]; }
  const MapCell& At(int x, int y) const { return cells[static_cast<std::size_t>(y * kGridSide + x)]; }
  MapCell& At(MapPos p) { return At(p.x, p.y); }
  const MapCell& At(MapPos p) const { return At(p.x, p.y); }
};

struct LandMassRecord {
  int32_t status = 0;
  uint8_t size = 0;
  int16_t armyCount = 0;
  int16_t cityCount = 0;
};
using LandMassTable = std::array<LandMassRecord, kLandMassSlots>;

using AttackTable = std::array<std::array<int32_t, kTypeCount>, kTypeCount>;

// Exact byte layouts (little-endian, unused bytes carried through).
// Each Encode writes exactly its block's byte count to `out`; each Decode reads
// exactly that many from `in` and returns the block. The caller owns the buffer
// and its size; nothing is checked here beyond the layout itself.
// Writes the settings block: kSettingsBytes.
void EncodeSettings(const GameSettings& s, uint8_t* out);
// Reads a settings block of kSettingsBytes.
GameSettings DecodeSettings(const uint8_t* in);
// Writes the state block: kStateBytes.
void EncodeState(const GameState& s, uint8_t* out);
// Reads a state block of kStateBytes.
GameState DecodeState(const uint8_t* in);
// Writes all 500 piece slots, empty ones included: kPieceTableBytes.
void EncodePieces(const PieceTable& t, uint8_t* out);
// Reads the 500 piece slots of kPieceTableBytes.
PieceTable DecodePieces(const uint8_t* in);
// Writes the whole 70 x 70 grid, whatever the map size: kWorldBytes.
void EncodeWorld(const World& w, uint8_t* out);
// Reads a 70 x 70 grid of kWorldBytes.
World DecodeWorld(const uint8_t* in);

}  // namespace vortan

// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/world_picture.h"

#include <stdexcept>

#include "model/piece_types.h"

namespace vortan::test {

static uint8_t TerrainOf(char c) {
  switch (c) {
    case '.':
      return Terrain::Sea;
    case '+':
      return Terrain::Land;
    case '*':
      return Terrain::City;
    case '^':
      return Terrain::Mountain;
    default:
      throw std::invalid_argument(std::string("unknown terrain character '") + c + "'");
  }
}

static bool IsLandMassCell(const Game& g, int x, int y) {
  uint8_t t = g.world.At(x, y).terrain;
  return t == Terrain::Land || t == Terrain::City;
}

static void Flood(Game& g, int number, int x, int y) {
  std::vector<std::pair<int, int>> todo{{x, y}};
  while (!todo.empty()) {
    auto [cx, cy] = todo.back();
    todo.pop_back();
    MapCell& c = g.world.At(cx, cy);
    if (c.landMass != 0 || !IsLandMassCell(g, cx, cy)) continue;
    c.landMass = static_cast<uint8_t>(number);
    ForEachInBlock3(g.settings, cx, cy, [&](int nx, int ny) { todo.emplace_back(nx, ny); });
  }
}

void StartProgram(Game& g, uint32_t seed) {
  ResetToProgramStart(g);
  ApplyDefaultPieceAttributes(g.settings);
  g.rng.SetState(seed);
}

void BuildWorld(Game& g, const std::vector<std::string>& rows) {
  ResetToProgramStart(g);
  ApplyDefaultPieceAttributes(g.settings);
  const int height = static_cast<int>(rows.size());
  const int width = height ? static_cast<int>(rows[0].size()) : 0;
  if (width < 1 || width > kGridSide || height > kGridSide) throw std::invalid_argument("bad picture size");
  g.settings.width = static_cast<uint8_t>(width);
  g.settings.height = static_cast<uint8_t>(height);
  g.settings.difficulty = Difficulty::Easy;
  g.settings.kind = {PlayerKind::Human, PlayerKind::Computer, PlayerKind::Out,
                     PlayerKind::Out,   PlayerKind::Out,      PlayerKind::Out};
  for (int y = 0; y < height; ++y) {
    if (static_cast<int>(rows[y].size()) != width) throw std::invalid_argument("ragged picture");
    for (int x = 0; x < width; ++x) g.world.At(x, y).terrain = TerrainOf(rows[y][x]);
  }
  int count = 0;
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y)
      if (IsLandMassCell(g, x, y) && g.world.At(x, y).landMass == 0) Flood(g, ++count, x, y);
  g.settings.landMassCount = static_cast<uint8_t>(count);
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y) {
      const MapCell& c = g.world.At(x, y);
      if (c.terrain == Terrain::City) g.landMasses[c.landMass].cityCount++;
    }
  g.state.day = 1;
  g.state.gameActive = 1;
  g.state.mapHidden = 0;
  g.state.currentPlayer = 0;
  g.state.viewingPlayer = 0;
  for (int p = 0; p < kPlayerCount; ++p) g.state.moveMemory[p] = 1;
}

int AddPiece(Game& g, int type, int owner, int x, int y) {
  int slot = FindFreeSlot(g.pieces);
  if (slot < 0) throw std::runtime_error("piece table full");
  PieceRecord r{};
  r.type = static_cast<uint8_t>(type);
  r.owner = static_cast<uint8_t>(owner);
  r.x = r.destX = static_cast<uint8_t>(x);
  r.y = r.destY = static_cast<uint8_t>(y);
  r.strength = 100;
  r.state = PieceState::Ready;
  r.movesLeft = type == PieceType::City ? 0 : g.settings.moves[type];
  r.fuel = IsAirType(type) ? g.settings.fuel[type] : 0;
  g.pieces[slot] = r;
  RefreshCell(g, r.Pos());
  return slot;
}

int AddCity(Game& g, int owner, int x, int y, int production) {
  g.world.At(x, y).terrain = Terrain::Land;
  int slot = AddPiece(g, PieceType::City, owner, x, y);
  g.pieces[slot].production = static_cast<uint8_t>(production);
  g.pieces[slot].daysLeft = g.settings.days[production];
  return slot;
}

std::string DrawTerrain(const Game& g) {
  static const char kChars[] = {'.', '+', '*', '^'};
  std::string out;
  for (int y = 0; y < g.Height(); ++y) {
    for (int x = 0; x < g.Width(); ++x) out += kChars[g.world.At(x, y).terrain & 3];
    out += '\n';
  }
  return out;
}

void RecordingHooks::ShowExplosion(MapPos pos, Rgb c, int radius) {
  calls.push_back("Explosion " + std::to_string(pos.x) + "," + std::to_string(pos.y) + " " + std::to_string(c.r) + "/" +
                  std::to_string(c.g) + "/" + std::to_string(c.b) + " r" + std::to_string(radius));
}

void RecordingHooks::PlaySoundEffect(int effect) { calls.push_back("Sound " + std::to_string(effect)); }

MsgResult RecordingHooks::ShowMessageBox(std::string_view caption, std::string_view text, MsgIcon, MsgButtons) {
  calls.push_back("Message " + std::string(caption) + ": " + std::string(text));
  return answer;
}

}  // namespace vortan::test

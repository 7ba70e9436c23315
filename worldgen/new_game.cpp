// SPDX-License-Identifier: GPL-3.0-or-later
// Setting a game up: the game state after a world has been generated, the
// Demo command's view centre, and the OK steps of the New Game and Piece
// Attributes dialogs (the dialogs themselves only collect the buttons and
// texts and call in here).
#include "worldgen/new_game.h"

#include <cstdint>

#include "model/piece_types.h"
#include "worldgen/world_generator.h"

namespace vortan {
namespace {

constexpr int kSizeChoices[] = {50, 55, 60, 65, 70};
constexpr int kLargestSizeIndex = 4;

// The Piece Attributes dialog's rows, in the order its keys are written.
constexpr int kAttributeRows[] = {PieceType::Army,      PieceType::Para,      PieceType::Fighter,
                                  PieceType::Bomber,    PieceType::Transport, PieceType::Destroyer,
                                  PieceType::Submarine, PieceType::Carrier,   PieceType::Battleship};
constexpr int kFuelRows[] = {PieceType::Para, PieceType::Fighter, PieceType::Bomber};

// --- Demo centring ---

// Length of the band of empty lines starting at `start`, wrapping round.
template <typename IsEmpty>
int EmptyRun(int start, int size, IsEmpty isEmpty) {
  int run = 0;
  while (run < size && isEmpty(Wrap(start + run, size))) ++run;
  return run;
}

template <typename IsEmpty>
int CentreAcross(int size, IsEmpty isEmpty) {
  int best = 0, bestRun = -1;
  for (int line = 0; line < size; ++line) {
    const int run = EmptyRun(line, size, isEmpty);
    if (run >= bestRun) {
      best = line;
      bestRun = run;
    }
  }
  return Wrap(size / 2 + bestRun / 2 + best - 1, size);
}

// --- Piece Attributes ---

// A field read as an unsigned number: optional spaces round decimal digits;
// anything else, or a value beyond 32 bits, reads as 0.
uint32_t ReadUnsignedField(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  uint64_t value = 0;
  size_t digits = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
    value = value * 10 + static_cast<uint64_t>(text[i] - '0');
    if (value > UINT32_MAX) return 0;
  }
  while (i < text.size() && text[i] == ' ') ++i;
  if (digits == 0 || i != text.size()) return 0;
  return static_cast<uint32_t>(value);
}

uint8_t LowByte(const std::string& text) { return static_cast<uint8_t>(ReadUnsignedField(text) & 0xFF); }

bool InUseSetIsPlayable(Game& g, const PieceAttributeInput& in) {
  const char* problem = nullptr;
  if (!in.use[PieceType::Army] && !in.use[PieceType::Para])
    problem = "You must have either Armies or Paras in the\ngame or you couldn't capture cities!";
  else if (!in.use[PieceType::Transport] && !in.use[PieceType::Para])
    problem = "You must have either Transports or Paras in the\ngame or you couldn't get to other islands!";
  if (problem == nullptr) return true;
  g.ui().ShowMessageBox("Vortan", problem, MsgIcon::Exclamation, MsgButtons::Ok);
  return false;
}

// --- New Game ---

NewGameVerdict CheckPlayers(Game& g) {
  int humans = 0, taking = 0;
  for (uint8_t k : g.settings.kind) {
    humans += k == PlayerKind::Human;
    taking += k != PlayerKind::Out;
  }
  NewGameVerdict verdict = NewGameVerdict::Accepted;
  const char* text = nullptr;
  if (humans == 0) {
    verdict = NewGameVerdict::NoHumanPlayer;
    text = "There must be a human player";
  } else if (taking < 2) {
    verdict = NewGameVerdict::OnlyOnePlayer;
    text = "There must be more than 1 player";
  }
  if (text != nullptr) g.ui().ShowMessageBox("Sorry!", text, MsgIcon::Stop, MsgButtons::Ok);
  return verdict;
}

}  // namespace

int StartGeneratedGame(Game& g) {
  g.ui().SetWaitCursor(true);
  const int n = GenerateWorld(g, g.settings, g.state);
  g.settings.landMassCount = static_cast<uint8_t>(n);
  if (n == 0) {
    g.ui().SetWaitCursor(false);  // a held cursor would outlive the failure message
    return 0;
  }
  GameState& st = g.state;
  for (int p = 0; p < kPlayerCount; ++p) {
    st.homeX[p] = st.savedViewX[p] = g.pieces[p].x;
    st.homeY[p] = st.savedViewY[p] = g.pieces[p].y;
  }
  g.ui().SetWaitCursor(false);
  for (int p = 0; p < kPlayerCount; ++p) {
    st.eliminated[p] = 0;
    st.autoPlay[p] = 0;
    st.moveMemory[p] = 1;
  }
  st.currentPiece = 0;
  st.day = 1;
  st.currentPlayer = 0;
  st.tileSize = kDefaultTileSize;
  st.viewingPlayer = 0;
  for (int p = kPlayerCount - 1; p >= 0; --p)
    if (IsHumanPlayer(g, p)) st.viewingPlayer = static_cast<int16_t>(p);
  g.ui().RepaintToolWindow(ToolWindow::PieceInfo);
  g.ui().RecreateProductionWindow();
  return 1;
}

bool ApplyPieceAttributes(Game& g, const PieceAttributeInput& in, SettingsStore& store) {
  if (!InUseSetIsPlayable(g, in)) return false;
  GameSettings& s = g.settings;
  for (int t : kAttributeRows) {
    s.inUse[t] = in.use[t] ? 1 : 0;
    store.WriteInt("Pieces", kPieceTypeDefaults[t].key, s.inUse[t]);
  }
  for (int t : kAttributeRows) {
    s.days[t] = LowByte(in.days[t]);
    s.moves[t] = LowByte(in.moves[t]);
  }
  for (int t : kFuelRows) s.fuel[t] = LowByte(in.fuel[t]);
  BoundPieceAttributes(s);
  for (int t : kAttributeRows) store.WriteInt("Moves", kPieceTypeDefaults[t].key, s.moves[t]);
  for (int t : kAttributeRows) store.WriteInt("Days", kPieceTypeDefaults[t].key, s.days[t]);
  for (int t : kFuelRows) store.WriteInt("Fuel", kPieceTypeDefaults[t].key, s.fuel[t]);
  return true;
}

PieceAttributeInput PieceAttributesToShow(const Game& g, const SettingsStore& store) {
  PieceAttributeInput shown;
  for (int t : kAttributeRows) {
    const char* key = kPieceTypeDefaults[t].key;
    shown.use[t] = store.ReadInt("Pieces", key, 1) == 1;
    shown.days[t] = std::to_string(g.settings.days[t]);
    shown.moves[t] = std::to_string(g.settings.moves[t]);
  }
  for (int t : kFuelRows) shown.fuel[t] = std::to_string(g.settings.fuel[t]);
  return shown;
}

PieceAttributeInput DefaultPieceAttributesToShow() {
  PieceAttributeInput shown;
  for (int t : kAttributeRows) {
    shown.use[t] = true;
    shown.days[t] = std::to_string(kPieceTypeDefaults[t].days);
    shown.moves[t] = std::to_string(kPieceTypeDefaults[t].moves);
  }
  for (int t : kFuelRows) shown.fuel[t] = std::to_string(kPieceTypeDefaults[t].fuel);
  return shown;
}

NewGameVerdict ApplyNewGameChoice(Game& g, const NewGameChoice& choice, SettingsStore& store) {
  GameSettings& s = g.settings;
  for (int p = 0; p < kPlayerCount; ++p) {
    const uint8_t k = choice.kind[p];
    s.kind[p] = k == PlayerKind::Out || k == PlayerKind::Human ? k : uint8_t{PlayerKind::Computer};
    store.WriteInt("Settings", "player" + std::to_string(p + 1), s.kind[p]);
  }
  const int size = choice.sizeIndex && *choice.sizeIndex >= 0 && *choice.sizeIndex < kLargestSizeIndex
                       ? *choice.sizeIndex
                       : kLargestSizeIndex;
  s.width = s.height = static_cast<uint8_t>(kSizeChoices[size]);
  store.WriteInt("Settings", "size", size);
  s.difficulty = choice.difficulty >= Difficulty::Simple && choice.difficulty < Difficulty::Hard
                     ? static_cast<uint8_t>(choice.difficulty)
                     : uint8_t{Difficulty::Hard};
  store.WriteInt("Settings", "difficulty", s.difficulty);
  if (choice.land) {
    s.landAmount = static_cast<uint8_t>(*choice.land);
    store.WriteInt("Settings", "land", s.landAmount);
  }
  return CheckPlayers(g);
}

MapPos CentreOnLand(const GameSettings& s, const World& w) {
  const int width = s.width, height = s.height;
  auto columnEmpty = [&](int x) {
    for (int y = 0; y < height; ++y)
      if (w.At(x, y).terrain != Terrain::Sea) return false;
    return true;
  };
  auto rowEmpty = [&](int y) {
    for (int x = 0; x < width; ++x)
      if (w.At(x, y).terrain != Terrain::Sea) return false;
    return true;
  };
  return MapPos{static_cast<uint8_t>(CentreAcross(width, columnEmpty)),
                static_cast<uint8_t>(CentreAcross(height, rowEmpty))};
}

}  // namespace vortan

// Starting a game: the New and Demo commands, the game state after a world has
// been generated, the view set-up shared with loading, and the OK steps of the
// New Game and Piece Attributes dialogs (the dialogs themselves only collect
// the buttons and texts and call in here).
#include "worldgen/new_game.h"

#include <cstdint>

#include "model/piece_types.h"
#include "persist/settings_file.h"
#include "rules/elimination.h"
#include "worldgen/world_generator.h"

namespace vortan {
namespace {

constexpr int kDemoSide = 40;
constexpr uint8_t kDemoLandAmount = 2;  // Normal
constexpr int kSizeChoices[] = {50, 55, 60, 65, 70};
constexpr int kLargestSizeIndex = 4;

// The Piece Attributes dialog's rows, in the order its keys are written.
constexpr int kAttributeRows[] = {PieceType::Army,      PieceType::Para,      PieceType::Fighter,
                                  PieceType::Bomber,    PieceType::Transport, PieceType::Destroyer,
                                  PieceType::Submarine, PieceType::Carrier,   PieceType::Battleship};
constexpr int kFuelRows[] = {PieceType::Para, PieceType::Fighter, PieceType::Bomber};

constexpr int kViewItems[] = {Cmd::PieceInfo, Cmd::Rankings,  Cmd::WorldMap,  Cmd::Production,
                              Cmd::GameInfo,  Cmd::NoSound,   Cmd::PcSpeaker, Cmd::SoundCard,
                              Cmd::ColourMonitor};
constexpr int kPlayItems[] = {Cmd::Save,     Cmd::SaveAs,       Cmd::Later, Cmd::Finished, Cmd::Return,
                              Cmd::Sleep,    Cmd::Drop,         Cmd::Surrender, Cmd::EndTurn,
                              Cmd::CurrentPiece, Cmd::Home,     Cmd::AutoPlay, Cmd::MoveMemory};

struct ZoomItem {
  uint8_t tileSize;
  int command;
  int16_t whole;
};
constexpr ZoomItem kZoomItems[] = {
    {12, Cmd::Zoom75, 0}, {16, Cmd::Zoom100, 1}, {24, Cmd::Zoom150, 0}, {32, Cmd::Zoom200, 1}};
constexpr uint8_t kDefaultTileSize = 16;

// The keys a dialog changes are collected and written in one go.
void NoteSetting(std::vector<ProfileEntry>& out, const std::string& section, const std::string& key, int value) {
  out.push_back({section, key, std::to_string(value)});
}

void WriteSettings(const Game& g, const std::vector<ProfileEntry>& entries) {
  if (!g.settingsPath.empty()) WriteProfileStrings(g.settingsPath, entries);
}

bool IsValidPlayer(int p) { return p >= 0 && p < kPlayerCount; }

// --- Demo centring ---

// Length of the band of empty lines starting at `start`, wrapping round.
template <typename IsEmpty>
int EmptyRun(int start, int size, IsEmpty isEmpty) {
  int run = 0;
  while (run < size && isEmpty((start + run) % size)) ++run;
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
  return (size / 2 + bestRun / 2 + best - 1 + size) % size;
}

// --- SetUpGameView steps ---

void DrawTileVariants(Game& g) {
  for (int x = 0; x < g.Width(); ++x)
    for (int y = 0; y < g.Height(); ++y) g.world.At(x, y).tileVariant = static_cast<uint8_t>(g.rng.Next() & 7);
}

void SetPlayMenus(Game& g) {
  for (int id : kViewItems) g.ui().EnableMenuItem(id, true);
  const bool normalGame = g.state.demoMode == 0;
  for (int id : kPlayItems) g.ui().EnableMenuItem(id, normalGame);
  const int viewer = g.state.viewingPlayer;
  if (normalGame && IsValidPlayer(viewer)) {
    g.ui().CheckMenuItem(Cmd::AutoPlay, g.state.autoPlay[viewer] == 1);
    g.ui().CheckMenuItem(Cmd::MoveMemory, g.state.moveMemory[viewer] == 1);
  }
}

void SetPromptOnNewHuman(Game& g, bool on) {
  g.ui().CheckMenuItem(Cmd::PromptOnNewHuman, on);
  g.ui().EnableMenuItem(Cmd::PromptOnNewHuman, on);
  g.app.promptOnNewHuman = on;
}

void SetHumanMenus(Game& g) {
  int humans = 0;
  for (int p = 0; p < kPlayerCount; ++p)
    if (g.settings.kind[p] == PlayerKind::Human && g.state.eliminated[p] == 0) ++humans;
  if (humans == 0) {
    g.ui().EnableMenuItem(Cmd::Surrender, false);
    g.ui().EnableMenuItem(Cmd::AutoPlay, false);
    SetPromptOnNewHuman(g, false);
    g.ui().EnableMenuItem(Cmd::MoveMemory, false);
  } else {
    SetPromptOnNewHuman(g, humans > 1);
  }
}

// Each city's ordinal among the cities of its land mass, column by column;
// it picks the city's name.
void NumberCities(Game& g) {
  std::array<uint8_t, 256> seen{};
  for (int x = 0; x < g.Width(); ++x)
    for (int y = 0; y < g.Height(); ++y) {
      MapCell& c = g.world.At(x, y);
      if (c.terrain == Terrain::City || c.topType == PieceType::City) c.cityOrdinal = seen[c.landMass]++;
    }
}

// An unknown tile size falls back to 100 %.
void SetZoom(Game& g) {
  const ZoomItem* match = nullptr;
  for (const ZoomItem& z : kZoomItems)
    if (z.tileSize == g.state.tileSize) match = &z;
  if (match == nullptr) {
    g.state.tileSize = kDefaultTileSize;
    match = &kZoomItems[1];
  }
  for (const ZoomItem& z : kZoomItems) {
    g.ui().EnableMenuItem(z.command, true);
    g.ui().CheckMenuItem(z.command, &z == match);
  }
  g.state.zoomIsWhole = match->whole;
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

int NewGameCommand(Game& g) {
  const GameSettings before = g.settings;
  if (!g.ui().RunNewGameDialog() || StartNewGame(g) == 0) {
    g.settings = before;
    return 0;
  }
  return 1;
}

int StartNewGame(Game& g) {
  if (StartGeneratedGame(g) == 0) return 0;
  g.state.demoMode = 0;
  SetUpGameView(g);
  g.state.gameActive = 1;
  g.app.fileName = kRecoverFileName;
  return 1;
}

void DemoCommand(Game& g) {
  g.settings.width = g.settings.height = kDemoSide;
  g.settings.difficulty = Difficulty::Easy;
  g.settings.kind.fill(PlayerKind::Computer);
  g.settings.landAmount = kDemoLandAmount;
  g.state.demoMode = 1;
  if (StartGeneratedGame(g) == 0) return;
  for (int t = 1; t < kTypeCount; ++t) g.settings.inUse[t] = 1;
  g.state.viewingPlayer = 0;
  g.state.gameActive = 1;
  const MapPos centre = CentreOnLand(g.settings, g.world);
  g.state.savedViewX[0] = g.state.homeX[0] = centre.x;
  g.state.savedViewY[0] = g.state.homeY[0] = centre.y;
  SetUpGameView(g);
  g.ui().RepaintMainWindow();
}

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
    if (g.settings.kind[p] == PlayerKind::Human) st.viewingPlayer = static_cast<int16_t>(p);
  g.ui().RepaintToolWindow(ToolWindow::PieceInfo);
  g.ui().RecreateProductionWindow();
  return 1;
}

void SetUpGameView(Game& g) {
  DrawTileVariants(g);
  g.lastShownPiece = kPieceSlots;
  SetPlayMenus(g);
  SetHumanMenus(g);
  RefreshAllCells(g);
  NumberCities(g);
  const int viewer = g.state.viewingPlayer;
  if (IsValidPlayer(viewer)) {
    g.state.viewX = g.state.savedViewX[viewer];
    g.state.viewY = g.state.savedViewY[viewer];
  }
  g.ui().SetScrollBarsForViewer();
  SetZoom(g);
  g.ui().SizeMainWindowForWorld();
  g.ui().PlaceInfoDialogs();
  g.state.mapHidden = 0;
  CheckElimination(g);
}

bool ApplyPieceAttributes(Game& g, const PieceAttributeInput& in) {
  if (!InUseSetIsPlayable(g, in)) return false;
  GameSettings& s = g.settings;
  std::vector<ProfileEntry> written;
  for (int t : kAttributeRows) {
    s.inUse[t] = in.use[t] ? 1 : 0;
    NoteSetting(written, "Pieces", kPieceTypeDefaults[t].key, s.inUse[t]);
  }
  for (int t : kAttributeRows) {
    s.days[t] = LowByte(in.days[t]);
    s.moves[t] = LowByte(in.moves[t]);
  }
  for (int t : kFuelRows) s.fuel[t] = LowByte(in.fuel[t]);
  BoundPieceAttributes(s);
  for (int t : kAttributeRows) NoteSetting(written, "Moves", kPieceTypeDefaults[t].key, s.moves[t]);
  for (int t : kAttributeRows) NoteSetting(written, "Days", kPieceTypeDefaults[t].key, s.days[t]);
  for (int t : kFuelRows) NoteSetting(written, "Fuel", kPieceTypeDefaults[t].key, s.fuel[t]);
  WriteSettings(g, written);
  return true;
}

PieceAttributeInput PieceAttributesToShow(const Game& g) {
  PieceAttributeInput shown;
  for (int t : kAttributeRows) {
    const char* key = kPieceTypeDefaults[t].key;
    shown.use[t] = g.settingsPath.empty() || ReadProfileInt(g.settingsPath, "Pieces", key, 1) == 1;
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

NewGameVerdict ApplyNewGameChoice(Game& g, const NewGameChoice& choice) {
  GameSettings& s = g.settings;
  std::vector<ProfileEntry> written;
  for (int p = 0; p < kPlayerCount; ++p) {
    const uint8_t k = choice.kind[p];
    s.kind[p] = k == PlayerKind::Out || k == PlayerKind::Human ? k : uint8_t{PlayerKind::Computer};
    NoteSetting(written, "Settings", "player" + std::to_string(p + 1), s.kind[p]);
  }
  const int size = choice.sizeIndex && *choice.sizeIndex >= 0 && *choice.sizeIndex < kLargestSizeIndex
                       ? *choice.sizeIndex
                       : kLargestSizeIndex;
  s.width = s.height = static_cast<uint8_t>(kSizeChoices[size]);
  NoteSetting(written, "Settings", "size", size);
  s.difficulty = choice.difficulty >= Difficulty::Simple && choice.difficulty < Difficulty::Hard
                     ? static_cast<uint8_t>(choice.difficulty)
                     : uint8_t{Difficulty::Hard};
  NoteSetting(written, "Settings", "difficulty", s.difficulty);
  if (choice.land) {
    s.landAmount = static_cast<uint8_t>(*choice.land);
    NoteSetting(written, "Settings", "land", s.landAmount);
  }
  WriteSettings(g, written);
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

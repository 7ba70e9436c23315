// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <functional>

#include "game/game_start.h"
#include "game/orders.h"
#include "persist/saved_game.h"
#include "rules/player_view.h"
#include "ui/announcements.h"
#include "ui/file_commands.h"
#include "ui/game_loop.h"
#include "ui/help_window.h"
#include "ui/info_window.h"
#include "ui/tool_windows.h"
#include "worldgen/new_game.h"

namespace vortan {

namespace {

// The menu, top to bottom. A row with id 0 is a separator; a row with a
// submenu text opens that submenu for the rows that follow until its end row.
// The popups' titles are keys here, shown translated through kMenuTitles.
struct MenuRow {
  const char* menu;  // the popup it belongs to
  int id;
  const char* text;
};
constexpr MenuRow kMenu[] = {
    {"&File", Cmd::New, QT_TRANSLATE_NOOP("MainWindow", "&New...")},
    {"&File", Cmd::Open, QT_TRANSLATE_NOOP("MainWindow", "&Open...")},
    {"&File", Cmd::Save, QT_TRANSLATE_NOOP("MainWindow", "&Save")},
    {"&File", Cmd::SaveAs, QT_TRANSLATE_NOOP("MainWindow", "Save &as...")},
    {"&File", 0, nullptr},
    {"&File", Cmd::Demo, QT_TRANSLATE_NOOP("MainWindow", "&Demo")},
    {"&File", 0, nullptr},
    {"&File", Cmd::Exit, QT_TRANSLATE_NOOP("MainWindow", "E&xit")},
    {"&Moves", Cmd::Sleep, QT_TRANSLATE_NOOP("MainWindow", "&Sleep")},
    {"&Moves", Cmd::Later, QT_TRANSLATE_NOOP("MainWindow", "&Later")},
    {"&Moves", Cmd::Finished, QT_TRANSLATE_NOOP("MainWindow", "&Finished")},
    {"&Moves", Cmd::Return, QT_TRANSLATE_NOOP("MainWindow", "&Return")},
    {"&Moves", Cmd::Drop, QT_TRANSLATE_NOOP("MainWindow", "&Drop")},
    {"&Moves", 0, nullptr},
    {"&Moves", Cmd::EndTurn, QT_TRANSLATE_NOOP("MainWindow", "&End turn...")},
    {"&Moves", Cmd::Surrender, QT_TRANSLATE_NOOP("MainWindow", "S&urrender...")},
    {"&View", Cmd::GameInfo, QT_TRANSLATE_NOOP("MainWindow", "&Game Info")},
    {"&View", Cmd::Rankings, QT_TRANSLATE_NOOP("MainWindow", "R&ankings")},
    {"&View", Cmd::PieceInfo, QT_TRANSLATE_NOOP("MainWindow", "Piece &Info")},
    {"&View", Cmd::Production, QT_TRANSLATE_NOOP("MainWindow", "&Production")},
    {"&View", Cmd::WorldMap, QT_TRANSLATE_NOOP("MainWindow", "&World Map")},
    {"&View", 0, nullptr},
    {"&View", Cmd::Zoom75, "  75 %"},
    {"&View", Cmd::Zoom100, "100 %"},
    {"&View", Cmd::Zoom150, "150 %"},
    {"&View", Cmd::Zoom200, "200 %"},
    {"&View", 0, nullptr},
    {"&View", Cmd::CurrentPiece, QT_TRANSLATE_NOOP("MainWindow", "&Current piece")},
    {"&View", Cmd::Home, QT_TRANSLATE_NOOP("MainWindow", "&Home")},
    {"&Sound", Cmd::NoSound, QT_TRANSLATE_NOOP("MainWindow", "No Sound")},
    {"&Sound", Cmd::PcSpeaker, QT_TRANSLATE_NOOP("MainWindow", "PC Speaker")},
    {"&Sound", Cmd::SoundCard, QT_TRANSLATE_NOOP("MainWindow", "Sound Card")},
    {"&Options", Cmd::ColourMonitor, QT_TRANSLATE_NOOP("MainWindow", "&Colour monitor")},
    {"&Options", kCmdDimRemembered, QT_TRANSLATE_NOOP("MainWindow", "&Dim remembered cells")},
    {"&Options", 0, nullptr},
    {"&Options", Cmd::PromptOnNewHuman, QT_TRANSLATE_NOOP("MainWindow", "&Prompt on new human")},
    {"&Options", Cmd::MoveMemory, QT_TRANSLATE_NOOP("MainWindow", "&Move memory")},
    {"&Options", Cmd::AutoPlay, QT_TRANSLATE_NOOP("MainWindow", "&Auto play")},
    {"&Help", Cmd::Rules, QT_TRANSLATE_NOOP("MainWindow", "&Rules...")},
    {"&Help", 0, nullptr},
    {"&Help", Cmd::About, QT_TRANSLATE_NOOP("MainWindow", "&About...")},
};
[[maybe_unused]] constexpr const char* kMenuTitles[] = {
    QT_TRANSLATE_NOOP("MainWindow", "&File"),    QT_TRANSLATE_NOOP("MainWindow", "&Moves"),
    QT_TRANSLATE_NOOP("MainWindow", "&View"),    QT_TRANSLATE_NOOP("MainWindow", "&Sound"),
    QT_TRANSLATE_NOOP("MainWindow", "&Options"), QT_TRANSLATE_NOOP("MainWindow", "&Help"),
};
// Items that carry a check mark at some time, and those checked in the template.
constexpr int kCheckable[] = {
    Cmd::GameInfo,      Cmd::Rankings,         Cmd::PieceInfo,  Cmd::Production, Cmd::WorldMap,    Cmd::Zoom75,
    Cmd::Zoom100,       Cmd::Zoom150,          Cmd::Zoom200,    Cmd::NoSound,    Cmd::PcSpeaker,   Cmd::SoundCard,
    Cmd::ColourMonitor, Cmd::PromptOnNewHuman, Cmd::MoveMemory, Cmd::AutoPlay,   kCmdDimRemembered};
// The keys that already act on the map, shown beside their menu items (the
// map's own key handling carries them out), and the three true shortcuts.
constexpr struct {
  int id;
  const char* key;
} kMenuKeys[] = {{Cmd::Sleep, "S"},      {Cmd::Later, "L"},    {Cmd::Finished, "F"},     {Cmd::Return, "R"},
                 {Cmd::Drop, "D"},       {Cmd::GameInfo, "G"}, {Cmd::Rankings, "A"},     {Cmd::PieceInfo, "I"},
                 {Cmd::Production, "P"}, {Cmd::WorldMap, "W"}, {Cmd::CurrentPiece, "C"}, {Cmd::Home, "Home"},
                 {Cmd::AutoPlay, "Esc"}};
constexpr struct {
  int id;
  const char* sequence;
} kShortcuts[] = {{Cmd::Open, "Ctrl+O"}, {Cmd::Save, "Ctrl+S"}, {Cmd::Exit, "Ctrl+Q"}};
constexpr int kCheckedInTemplate[] = {Cmd::Zoom100, Cmd::ColourMonitor, Cmd::MoveMemory};
constexpr int kGrayedAtStartUp[] = {Cmd::Save,     Cmd::SaveAs,    Cmd::Drop,     Cmd::Return,
                                    Cmd::Later,    Cmd::Sleep,     Cmd::Finished, Cmd::CurrentPiece,
                                    Cmd::Home,     Cmd::Surrender, Cmd::EndTurn,  Cmd::PromptOnNewHuman,
                                    Cmd::AutoPlay, Cmd::MoveMemory};

struct ToolWindowInfo {
  ToolWindow window;
  int command;
  const char* title;
  int offset;  // below the main window's top
  int height;  // 0: down to the main window's bottom
};
constexpr ToolWindowInfo kToolWindows[] = {
    {ToolWindow::GameInfo, Cmd::GameInfo, "Game Info", 0, 90},
    {ToolWindow::Rankings, Cmd::Rankings, "Rankings", 90, 112},
    {ToolWindow::PieceInfo, Cmd::PieceInfo, "Piece Info", 202, 120},
    {ToolWindow::Production, Cmd::Production, "Production", 322, 0},
    {ToolWindow::WorldMap, Cmd::WorldMap, "World Map", 0, 0},
};
const ToolWindowInfo& InfoFor(ToolWindow w) { return kToolWindows[static_cast<int>(w)]; }

}  // namespace

MainWindow::MainWindow(Game& g, const PictureStore& pictures, const CursorStore& cursors, QWidget* parent)
    : QMainWindow(parent), g_(g), pictures_(pictures), cursors_(cursors), events_(g) {
  events_.changed = [this] { RepaintToolWindow(ToolWindow::Production); };
  setWindowTitle(QCoreApplication::translate("MainWindow", "Vortan"));
  setWindowIcon(QIcon(":/icons/ICON_2.png"));
  BuildMenu();
  view_ = new MapView(g, pictures, cursors, this);
  setCentralWidget(view_);
  view_->setFocus();
  connect(view_, &MapView::commandPosted, this, &MainWindow::ExecuteCommand, Qt::QueuedConnection);
  connect(view_, &MapView::characterTyped, this, &MainWindow::HandleCharacter);
  toolRepaint_.setSingleShot(true);
  connect(&toolRepaint_, &QTimer::timeout, this, &MainWindow::UpdateToolWindows);
  connect(view_, &MapView::effectsPlayed, this, [this] {
    if (loop_) loop_->Resume();
  });
  // Keys always reach the map: a tool window never keeps the focus. A click
  // in one takes the focus to no widget at all, so that change counts too.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    QWidget* active = now ? now->window() : QApplication::activeWindow();
    if (IsToolWindow(active))
      QMetaObject::invokeMethod(
          this, [this] { GiveKeysToMap(); }, Qt::QueuedConnection);
  });
}

bool MainWindow::IsToolWindow(const QObject* w) const {
  if (!w) return false;
  for (const QPointer<QWidget>& t : tools_)
    if (t && t == w) return true;
  return false;
}

void MainWindow::GiveKeysToMap() {
  activateWindow();
  view_->setFocus();
}

// Until the window manager has given the main window back its activation,
// the keys pressed in a tool window are the map's.
bool MainWindow::eventFilter(QObject* watched, QEvent* e) {
  const QEvent::Type t = e->type();
  if ((t == QEvent::KeyPress || t == QEvent::KeyRelease) && IsToolWindow(watched)) {
    QCoreApplication::sendEvent(view_, e);
    GiveKeysToMap();
    return true;
  }
  if (t == QEvent::WindowActivate && IsToolWindow(watched))
    QMetaObject::invokeMethod(
        this, [this] { GiveKeysToMap(); }, Qt::QueuedConnection);
  return QMainWindow::eventFilter(watched, e);
}

void MainWindow::BuildMenu() {
  QMenuBar* bar = menuBar();
  // The Help menu sits at the right end of the bar.
  auto* helpBar = new QMenuBar(bar);
  std::map<QString, QMenu*> menus;
  std::function<QMenu*(const QString&)> menuFor = [&](const QString& title) {
    auto it = menus.find(title);
    if (it != menus.end()) return it->second;
    QMenu* m;
    if (title == "&Sound")
      m = menuFor("&Options")->addMenu(QCoreApplication::translate("MainWindow", title.toUtf8().constData()));
    else if (title == "&Help")
      m = helpBar->addMenu(QCoreApplication::translate("MainWindow", title.toUtf8().constData()));
    else
      m = bar->addMenu(QCoreApplication::translate("MainWindow", title.toUtf8().constData()));
    menus[title] = m;
    return m;
  };
  for (const MenuRow& row : kMenu) {
    QMenu* m = menuFor(row.menu);
    if (row.id == 0) {
      m->addSeparator();
      continue;
    }
    QAction* a = m->addAction(QCoreApplication::translate("MainWindow", row.text));
    a->setData(row.id);
    actions_[row.id] = a;
    connect(a, &QAction::triggered, this, [this, a, id = row.id](bool checked) {
      // The commands set their own check marks.
      if (a->isCheckable()) a->setChecked(!checked);
      ExecuteCommand(id);
    });
  }
  for (const auto& k : kMenuKeys) actions_[k.id]->setText(actions_[k.id]->text() + '\t' + k.key);
  for (const auto& s : kShortcuts) actions_[s.id]->setShortcut(QKeySequence(s.sequence));
  for (int id : kCheckable) actions_[id]->setCheckable(true);
  for (int id : kCheckedInTemplate) actions_[id]->setChecked(true);
  bar->setCornerWidget(helpBar, Qt::TopRightCorner);
}

QAction* MainWindow::Action(int id) const {
  auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::EnableMenuItem(int id, bool enabled) {
  if (QAction* a = Action(id)) a->setEnabled(enabled);
}

void MainWindow::CheckMenuItem(int id, bool checked) {
  QAction* a = Action(id);
  if (!a) return;
  a->setCheckable(true);
  a->setChecked(checked);
  if (id == Cmd::PromptOnNewHuman) g_.app.promptOnNewHuman = checked;
}

bool MainWindow::IsChecked(int id) const {
  QAction* a = Action(id);
  return a && a->isChecked();
}

void MainWindow::SetStartUpMenuState() {
  for (int id : kGrayedAtStartUp) EnableMenuItem(id, false);
}

// --- Window size and the tool window column ---

void MainWindow::SizeMainWindowForWorld() {
  const QSize client = ClientSizeForWorld(g_.Width(), g_.Height(), g_.state.tileSize);
  // The frame is the platform's; it is known once the native window exists
  // (and, under some window managers, only once it is on the screen).
  if (!windowHandle()) create();
  const QMargins m = windowHandle()->frameMargins();
  const QSize frame(m.left() + m.right(), m.top() + m.bottom());
  sizedForFrame_ = frame;
  const int menuHeight = menuBar()->sizeHint().height();
  const int width = client.width() + frame.width();
  const int height = client.height() + menuHeight + frame.height();
  const QRect screen = this->screen()->availableGeometry();
  const QSize smallest(500 - frame.width(), 400 - frame.height());
  setMinimumSize(smallest);
  // With a thin frame a small world's window can come out below the smallest
  // size; the smallest size wins.
  setMaximumSize(QSize(std::min(screen.width() - kToolColumnWidth, width) - frame.width(),
                       std::min(screen.height(), height) - frame.height())
                     .expandedTo(smallest));
  resize(width - frame.width(), height - frame.height());
  move(screen.x() + std::max(0, (screen.width() - kToolColumnWidth - width) / 2),
       screen.y() + std::max(0, (screen.height() - height) / 2));
}

void MainWindow::PlaceInfoDialogs() {
  const QRect f = frameGeometry();
  const int right = f.x() + f.width(), top = f.y(), bottom = f.y() + f.height();
  for (const ToolWindowInfo& info : kToolWindows) {
    if (info.window == ToolWindow::WorldMap) continue;
    if (!IsToolWindowOpen(info.window)) OpenToolWindow(info.window);
    QWidget* w = ToolWindowWidget(info.window);
    const QSize margins = w->frameGeometry().size() - w->geometry().size();
    const int height = info.height ? info.height : bottom - top - info.offset;
    w->resize(std::max(1, kToolColumnWidth - margins.width()), std::max(1, height - margins.height()));
    w->move(right, top + info.offset);
    w->update();
  }
}

void MainWindow::OpenToolWindow(ToolWindow which) {
  if (IsToolWindowOpen(which)) return;
  const ToolWindowInfo& info = InfoFor(which);
  // Each window sizes itself and takes its place when it first shows.
  InfoWindow* w = CreateToolWindow(which, g_, pictures_, cursors_, *this);
  tools_[static_cast<size_t>(which)] = w;
  w->installEventFilter(this);
  CheckMenuItem(info.command, true);
  connect(w, &InfoWindow::closed, this, [this, w, which, id = info.command] {
    if (tools_[static_cast<size_t>(which)] != w) return;
    tools_[static_cast<size_t>(which)] = nullptr;
    CheckMenuItem(id, false);
  });
  w->show();
}

void MainWindow::CloseToolWindow(ToolWindow which) {
  if (QWidget* w = ToolWindowWidget(which)) w->close();
}

void MainWindow::RepaintToolWindow(ToolWindow which) {
  if (!ToolWindowWidget(which)) return;
  toolsToUpdate_ |= 1u << static_cast<unsigned>(which);
  if (toolRepaint_.isActive()) return;
  const qint64 since = sinceToolRepaint_.isValid() ? sinceToolRepaint_.elapsed() : kToolRepaintMs;
  toolRepaint_.start(static_cast<int>(std::max<qint64>(0, kToolRepaintMs - since)));
}

// The windows' own drawing only: their controls (the Production list's
// scroll bar) repaint themselves when they change, and are costly to paint.
void MainWindow::UpdateToolWindows() {
  for (size_t w = 0; w < tools_.size(); ++w) {
    QWidget* tool = tools_[w];
    if (!(toolsToUpdate_ & (1u << w)) || !tool) continue;
    QRegion own(tool->rect());
    for (const QObject* child : tool->children())
      if (const auto* control = qobject_cast<const QWidget*>(child); control && control->isVisible())
        own -= control->geometry();
    tool->update(own);
  }
  toolsToUpdate_ = 0;
  sinceToolRepaint_.start();
}

void MainWindow::SetGameLoop(GameLoop* loop) {
  if (loop_ && loop_ != loop) loop_->holdWhile = nullptr;
  loop_ = loop;
  if (loop) loop->holdWhile = [this] { return view_->EffectsPlaying(); };
}

void MainWindow::ToggleToolWindow(int id, ToolWindow which) {
  const bool wasChecked = IsChecked(id);
  CheckMenuItem(id, true);
  if (!wasChecked)
    OpenToolWindow(which);
  else
    CloseToolWindow(which);
}

// --- Commands ---

bool MainWindow::SaveGuard() {
  g_.app.saveErrorShown = false;  // a save the player asked for always reports failure
  if (g_.app.fileName == kRecoverFileName && g_.state.gameActive && !g_.state.demoMode) {
    switch (g_.ui().ShowMessageBox("Vortan", "Save current game?", MsgIcon::Question, MsgButtons::YesNoCancel)) {
      case MsgResult::Yes:
        return SaveGameAs(g_) == 1;
      case MsgResult::No:
        return true;
      default:
        return false;
    }
  }
  return SaveGame(g_);  // a named game that could not be written is not left behind
}

void MainWindow::CentreView(int x, int y) {
  vortan::CentreView(g_, x, y);
  view_->RepaintAll();
  view_->SetScrollBarsForViewer();
}

void MainWindow::SetZoom(int id) {
  for (int command : kZoomCommands) CheckMenuItem(command, false);
  for (int b = 10; b <= 13; ++b) view_->DrawButton(b, false);
  for (std::size_t z = 0; z < std::size(kZoomCommands); ++z)
    if (kZoomCommands[z] == id) SetZoomLevel(g_, static_cast<int>(z));
  CheckMenuItem(id, true);
  view_->DrawButton(ZoomButtonForCellSize(g_.state.tileSize), true);
  SizeMainWindowForWorld();
  view_->RepaintAll();
  PlaceInfoDialogs();
}

void MainWindow::SetSoundMode(int id) {
  for (int item : kSoundCommands) CheckMenuItem(item, item == id);
  g_.app.soundMode = static_cast<uint8_t>(id - Cmd::NoSound);
}

void MainWindow::ExecuteCommand(int id) {
  const int viewer = std::clamp<int>(g_.state.viewingPlayer, 0, kPlayerCount - 1);
  switch (id) {
    case Cmd::New:
      if (SaveGuard()) NewGameCommand(g_);
      break;
    case Cmd::Open:
      if (SaveGuard() && LoadGame(g_)) DiscardPendingClicks();
      break;
    case Cmd::Save:
      g_.app.saveErrorShown = false;
      if (g_.app.fileName == kRecoverFileName)
        SaveGameAs(g_);
      else
        SaveGame(g_);
      break;
    case Cmd::SaveAs:
      g_.app.saveErrorShown = false;
      SaveGameAs(g_);
      break;
    case Cmd::Demo:
      if (SaveGuard()) DemoCommand(g_);
      break;
    case Cmd::Exit:
      close();
      break;
    case Cmd::Later:
      HandleCharacter('L');
      break;
    case Cmd::Finished:
      HandleCharacter('F');
      break;
    case Cmd::Return:
      HandleCharacter('R');
      break;
    case Cmd::Sleep:
      HandleCharacter('S');
      break;
    case Cmd::Drop:
      HandleCharacter('D');
      break;
    case Cmd::Surrender:
      view_->EraseGotoLine();
      if (g_.ui().ShowMessageBox("Coward!", "Are you sure you wish to surrender?", MsgIcon::Exclamation,
                                 MsgButtons::YesNo) == MsgResult::Yes)
        OrderSurrender(g_);
      break;
    case Cmd::EndTurn:
      if (!g_.state.gameActive) break;  // a finished game has no turn to end
      view_->EraseGotoLine();
      if (g_.ui().ShowMessageBox("End turn...", "Are you sure you wish to end your turn?", MsgIcon::Question,
                                 MsgButtons::YesNo) == MsgResult::Yes) {
        view_->EraseGotoLine();
        OrderEndTurn(g_);
      }
      break;
    case Cmd::PieceInfo:
      ToggleToolWindow(id, ToolWindow::PieceInfo);
      break;
    case Cmd::Rankings:
      ToggleToolWindow(id, ToolWindow::Rankings);
      break;
    case Cmd::WorldMap:
      view_->EraseGotoLine();
      ToggleToolWindow(id, ToolWindow::WorldMap);
      break;
    case Cmd::Production:
      ToggleToolWindow(id, ToolWindow::Production);
      break;
    case Cmd::GameInfo:
      ToggleToolWindow(id, ToolWindow::GameInfo);
      break;
    case Cmd::Zoom75:
    case Cmd::Zoom100:
    case Cmd::Zoom150:
    case Cmd::Zoom200:
      SetZoom(id);
      break;
    case Cmd::CurrentPiece: {
      const int cp = std::clamp<int>(g_.state.currentPiece, 0, kPieceSlots - 1);
      CentreView(g_.pieces[cp].x, g_.pieces[cp].y);
      break;
    }
    case Cmd::Home:
      CentreView(g_.state.homeX[viewer], g_.state.homeY[viewer]);
      break;
    case Cmd::NoSound:
    case Cmd::PcSpeaker:
    case Cmd::SoundCard:
      SetSoundMode(id);
      break;
    case Cmd::ColourMonitor:
      CheckMenuItem(id, !IsChecked(id));
      g_.app.monochrome = IsChecked(id) ? 0 : 1;
      view_->RepaintAll();
      RepaintToolWindow(ToolWindow::Rankings);
      RepaintToolWindow(ToolWindow::WorldMap);
      break;
    case Cmd::PromptOnNewHuman:
      CheckMenuItem(id, !IsChecked(id));
      break;
    case kCmdDimRemembered:
      CheckMenuItem(id, !IsChecked(id));
      view_->Renderer().dimRemembered = IsChecked(id);
      view_->RepaintAll();
      break;
    case Cmd::AutoPlay:
      SetAutoPlay(g_, viewer, g_.state.autoPlay[viewer] != 1);
      CheckMenuItem(id, g_.state.autoPlay[viewer] == 1);
      break;
    case Cmd::MoveMemory:
      CheckMenuItem(id, !IsChecked(id));
      SetMoveMemory(g_, viewer, IsChecked(id));
      break;
    case Cmd::About:
      view_->EraseGotoLine();
      RunAboutBox(this, [this] { ExecuteCommand(Cmd::Rules); });
      break;
    case Cmd::Rules:
      view_->EraseGotoLine();
      ShowRules(this);
      view_->EraseGotoLine();
      break;
    default:
      break;
  }
  if (loop_) loop_->Wake();
}

void MainWindow::OpenGameFile(const std::string& path) {
  LoadGameFromPath(g_, path);
  if (loop_) loop_->Wake();
}

void MainWindow::HandleCharacter(QChar c) {
  const QChar key = c.toUpper();
  const int player = std::clamp<int>(g_.state.currentPlayer, 0, kPlayerCount - 1);
  const int cp = std::clamp<int>(g_.state.currentPiece, 0, kPieceSlots - 1);
  if (g_.state.gameActive && g_.pieces[cp].state == PieceState::AwaitingOrders && IsHumanPlayer(g_, player)) {
    switch (key.unicode()) {
      case 'C':
        ExecuteCommand(Cmd::CurrentPiece);
        break;
      case 'D':
        view_->EraseGotoLine();
        if (!OrderDrop(g_)) {
          events_.Refused(g_.pieces[cp].type == PieceType::Para ? "Paras must be dropped on open land"
                                                                : "Only paras can be dropped");
          view_->ShowRefusal();
        }
        break;
      case 'F':
        view_->EraseGotoLine();
        OrderFinished(g_);
        break;
      case 'L':
        view_->EraseGotoLine();
        OrderLater(g_);
        break;
      case 'R':
        view_->EraseGotoLine();
        OrderReturn(g_);
        break;
      case 'S':
        view_->EraseGotoLine();
        OrderSleep(g_);
        break;
      default:
        break;
    }
  }
  switch (key.unicode()) {
    case 'A':
      ExecuteCommand(Cmd::Rankings);
      break;
    case 'G':
      ExecuteCommand(Cmd::GameInfo);
      break;
    case 'I':
      ExecuteCommand(Cmd::PieceInfo);
      break;
    case 'P':
      ExecuteCommand(Cmd::Production);
      break;
    case 'W':
      ExecuteCommand(Cmd::WorldMap);
      break;
    default:
      break;
  }
  if (loop_) loop_->Wake();
}

void MainWindow::AfterGameSlice() {
  view_->SetMapCursor(view_->Pointer());
  view_->UpdateBlink();
  if (g_.state.currentPlayer != playerShown_) {
    playerShown_ = g_.state.currentPlayer;
    RepaintToolWindow(ToolWindow::Production);
  }
}

// --- Window events ---

void MainWindow::closeEvent(QCloseEvent* e) {
  if (!SaveGuard()) {
    e->ignore();
    return;
  }
  e->accept();
}

void MainWindow::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  // A frame that turned out other than the window was sized for: size again.
  QTimer::singleShot(0, this, [this] {
    const QMargins m = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (QSize(m.left() + m.right(), m.top() + m.bottom()) != sizedForFrame_ && g_.Width() > 0) {
      SizeMainWindowForWorld();
      PlaceInfoDialogs();
    }
  });
}

void MainWindow::moveEvent(QMoveEvent* e) {
  QMainWindow::moveEvent(e);
  if (isVisible()) PlaceInfoDialogs();
}

void MainWindow::changeEvent(QEvent* e) {
  if (e->type() == QEvent::ActivationChange && !isActiveWindow()) view_->EraseGotoLine();
  if (e->type() == QEvent::WindowStateChange) view_->UpdateBlink();  // none while minimized
  QMainWindow::changeEvent(e);
}

}  // namespace vortan

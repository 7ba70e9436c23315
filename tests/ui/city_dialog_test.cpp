// The City dialog: which production buttons it offers, the days it shows,
// what OK and Cancel leave behind, and the awake and asleep boxes.
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include "ui/city_dialog.h"
#include "ui/city_names.h"
#include "window_fixture.h"

namespace vortan::test {
namespace {

constexpr int kShips[] = {PieceType::Destroyer, PieceType::Submarine, PieceType::Carrier, PieceType::Battleship,
                          PieceType::Transport};
constexpr int kLandAndAir[] = {PieceType::Army, PieceType::Para, PieceType::Fighter, PieceType::Bomber};

class CityDialogTest : public WindowFixture {
 protected:
  // An island with a coastal city at (1, 1) and an inland one at (3, 3).
  void SetUp() override {
    WindowFixture::SetUp();
    Build({".......", ".+++++.", ".+++++.", ".+++++.", ".+++++.", ".+++++.", "......."});
    coastal = AddCity(*game, 0, 1, 1, PieceType::Bomber);
    inland = AddCity(*game, 0, 3, 3, PieceType::Army);
    game->state.day = 5;
  }
  std::unique_ptr<CityDialog> Open(int city) { return std::make_unique<CityDialog>(*game, pictures, city, window.get()); }
  void Release(QWidget& w, QPoint at) {
    QMouseEvent e(QEvent::MouseButtonRelease, at, w.mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
  }
  // The middle of a slot's symbol.
  static QPoint SlotCentre(const CityDialog& d, int column, int row, int top) {
    return d.SlotPosition(column, row, top) + QPoint(8, 8);
  }

  int coastal = -1, inland = -1;
};

TEST_F(CityDialogTest, InlandCityCannotBuildShipsEvenWhenTheyAreInUse) {
  auto d = Open(inland);
  for (int t : kShips) EXPECT_FALSE(d->ButtonFor(t)->isEnabled()) << t;
  for (int t : kLandAndAir) EXPECT_TRUE(d->ButtonFor(t)->isEnabled()) << t;
  auto c = Open(coastal);
  for (int t : kShips) EXPECT_TRUE(c->ButtonFor(t)->isEnabled()) << t;
  EXPECT_TRUE(c->ButtonFor(PieceType::Bomber)->isChecked());
  EXPECT_EQ(c->windowTitle().toStdString(), CityName(*game, coastal));
}

TEST_F(CityDialogTest, TypesOutOfUseAreOfferedNowhere) {
  game->settings.inUse[PieceType::Fighter] = 0;
  game->settings.inUse[PieceType::Carrier] = 0;
  auto d = Open(coastal);
  EXPECT_FALSE(d->ButtonFor(PieceType::Fighter)->isEnabled());
  EXPECT_FALSE(d->ButtonFor(PieceType::Carrier)->isEnabled());
  EXPECT_TRUE(d->ButtonFor(PieceType::Battleship)->isEnabled());
}

TEST_F(CityDialogTest, DaysFollowTheChoiceAndComeBackWithTheFirstType) {
  game->pieces[coastal].daysLeft = 1;
  game->settings.days[PieceType::Army] = 4;
  auto d = Open(coastal);
  EXPECT_EQ(d->ShownDays(), 1);
  EXPECT_EQ(CityDaysText(d->ShownDays()), "tomorrow      ");
  d->ButtonFor(PieceType::Army)->click();
  EXPECT_EQ(game->pieces[coastal].production, PieceType::Army) << "the change is made at once";
  EXPECT_EQ(d->ShownDays(), 4);
  EXPECT_EQ(CityDaysText(d->ShownDays()), "in 4 days  ");
  d->ButtonFor(PieceType::Bomber)->click();
  EXPECT_EQ(d->ShownDays(), 1);
  d->accept();
  EXPECT_EQ(game->pieces[coastal].daysLeft, 1) << "the same type again keeps the work done";
}

TEST_F(CityDialogTest, OkAfterARealChangeRestartsTheBuildAndPicksTheLastMovablePiece) {
  game->pieces[coastal].daysLeft = 2;
  const int first = AddPiece(*game, PieceType::Army, 0, 1, 1);
  const int second = AddPiece(*game, PieceType::Fighter, 0, 1, 1);
  const int spent = AddPiece(*game, PieceType::Army, 0, 1, 1);
  game->pieces[spent].movesLeft = 0;
  game->state.currentPiece = 0;
  auto d = Open(coastal);
  d->ButtonFor(PieceType::Destroyer)->click();
  d->accept();
  EXPECT_EQ(game->pieces[coastal].production, PieceType::Destroyer);
  EXPECT_EQ(game->pieces[coastal].daysLeft, game->settings.days[PieceType::Destroyer]);
  EXPECT_EQ(game->state.currentPiece, second);
  (void)first;
}

TEST_F(CityDialogTest, CancelPutsTheProductionBackAndLeavesTheDays) {
  game->pieces[coastal].daysLeft = 3;
  auto d = Open(coastal);
  EXPECT_TRUE(d->CancelButton()->isVisibleTo(d.get()));
  d->ButtonFor(PieceType::Carrier)->click();
  d->reject();
  EXPECT_EQ(game->pieces[coastal].production, PieceType::Bomber);
  EXPECT_EQ(game->pieces[coastal].daysLeft, 3);
}

TEST_F(CityDialogTest, ModalDialogEndsThroughItsButtons) {
  QTimer::singleShot(0, [] {
    if (auto* d = qobject_cast<CityDialog*>(QApplication::activeModalWidget())) {
      d->ButtonFor(PieceType::Army)->click();
      d->findChild<QPushButton*>("ok")->click();
    }
  });
  RunCityDialog(*game, pictures, coastal, window.get());
  EXPECT_EQ(game->pieces[coastal].production, PieceType::Army);
  EXPECT_EQ(game->pieces[coastal].daysLeft, game->settings.days[PieceType::Army]);
}

TEST_F(CityDialogTest, TenOfTwelveAwakePiecesAreShownInTableOrder) {
  std::vector<int> awake;
  for (int i = 0; i < 12; ++i) awake.push_back(AddPiece(*game, PieceType::Army, 0, 1, 1));
  const int sleeper = AddPiece(*game, PieceType::Fighter, 0, 1, 1);
  game->pieces[sleeper].state = PieceState::Asleep;
  AddPiece(*game, PieceType::Army, 1, 1, 1);   // not the owner's
  auto d = Open(coastal);
  d->FillSlots();
  for (int k = 0; k < 10; ++k) EXPECT_EQ(d->Awake()[k / 5][k % 5], awake[k]) << k;
  EXPECT_EQ(d->Asleep()[0][0], sleeper);
  EXPECT_EQ(d->Asleep()[0][1], kNoSlotPiece);

  const QImage shot = d->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shot.size(), d->size());
  const QImage army = pictures.Piece(PictureSet::Large, 0, PieceType::Army).Variant(1, false, false);
  EXPECT_EQ(shot.copy(QRect(d->SlotPosition(4, 1, d->AwakeTop()), QSize(16, 16))), army);
}

TEST_F(CityDialogTest, ClicksPutAwakePiecesToSleepAndWakeSleepersAsTheCurrentPiece) {
  const int a = AddPiece(*game, PieceType::Army, 0, 1, 1);
  const int b = AddPiece(*game, PieceType::Army, 0, 1, 1);
  game->pieces[b].destX = 5;
  auto d = Open(coastal);
  Release(*d, SlotCentre(*d, 1, 0, d->AwakeTop()));
  EXPECT_EQ(game->pieces[b].state, PieceState::Asleep);
  EXPECT_EQ(game->pieces[b].destX, 1);
  EXPECT_EQ(game->pieces[a].state, PieceState::Ready);
  // The asleep box answers lower than it is drawn: its first row is hit
  // down to 0.84 of the height + 11, over the top of the drawn second row.
  const int hitTop = static_cast<int>(0.84 * d->height());
  Release(*d, QPoint(SlotCentre(*d, 0, 0, d->AsleepTop()).x(), hitTop + 10));
  EXPECT_EQ(game->pieces[b].state, PieceState::Ready);
  EXPECT_EQ(game->state.currentPiece, b);
}

TEST_F(CityDialogTest, DemoDialogIsReadOnlyAndDayOneHasNoCancel) {
  const int a = AddPiece(*game, PieceType::Army, 0, 1, 1);
  game->state.demoMode = 1;
  auto d = Open(coastal);
  for (int t : kLandAndAir) EXPECT_FALSE(d->ButtonFor(t)->isEnabled());
  for (int t : kShips) EXPECT_FALSE(d->ButtonFor(t)->isEnabled());
  EXPECT_FALSE(d->CancelButton()->isVisibleTo(d.get()));
  Release(*d, SlotCentre(*d, 0, 0, d->AwakeTop()));
  EXPECT_EQ(game->pieces[a].state, PieceState::Ready);

  game->state.demoMode = 0;
  game->state.day = 1;
  auto first = Open(coastal);
  EXPECT_FALSE(first->CancelButton()->isVisibleTo(first.get()));
  EXPECT_TRUE(first->ButtonFor(PieceType::Army)->isEnabled());
}

}  // namespace
}  // namespace vortan::test

int main(int argc, char** argv) { return vortan::test::RunWindowTests(argc, argv); }

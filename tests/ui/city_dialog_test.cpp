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
  // Releases the mouse over the middle of a slot (or at a point).
  void Release(QWidget& w, QPoint at) {
    QMouseEvent e(QEvent::MouseButtonRelease, at, w.mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
  }
  static QPoint SlotCentre(const CityDialog& d, int column, int row, int top) {
    return d.SlotPosition(column, row, top) + QPoint(8, 8);
  }
  int coastal = -1, inland = -1;
};

TEST_F(CityDialogTest, ButtonsAreEnabledByUseCoastAndDemo) {
  const std::string letters = "ADFbBCSTP";   // army .. para in type order; b: bomber, B: battleship
  const struct {
    const char* what;
    bool coast;
    int outOfUse, demo, day;
    const char* enabled;   // the types whose buttons can be pressed
    bool cancel;
  } rows[] = {
      {"inland: no ships", false, 0, 0, 5, "AFbP", true},
      {"coastal", true, 0, 0, 5, "ADFbBCSTP", true},
      {"fighters and carriers out of use", true, 1, 0, 5, "ADbBSTP", true},
      {"demo: read-only, no Cancel", true, 0, 1, 5, "", false},
      {"day 1: no Cancel", true, 0, 0, 1, "ADFbBCSTP", false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    game->settings.inUse[PieceType::Fighter] = game->settings.inUse[PieceType::Carrier] = r.outOfUse ? 0 : 1;
    game->state.demoMode = static_cast<uint8_t>(r.demo);
    game->state.day = static_cast<int16_t>(r.day);
    auto d = Open(r.coast ? coastal : inland);
    for (int t = PieceType::Army; t <= PieceType::Para; ++t)
      EXPECT_EQ(d->ButtonFor(t)->isEnabled(), std::string(r.enabled).find(letters[t - 1]) != std::string::npos) << t;
    EXPECT_EQ(d->CancelButton()->isVisibleTo(d.get()), r.cancel);
  }
  auto c = Open(coastal);
  EXPECT_TRUE(c->ButtonFor(PieceType::Bomber)->isChecked());
  EXPECT_EQ(c->windowTitle().toStdString(), CityName(*game, coastal));
}

TEST_F(CityDialogTest, DaysFollowTheChoiceAndOkRestartsTheBuildOnlyAfterARealChange) {
  game->pieces[coastal].daysLeft = 1;
  game->settings.days[PieceType::Army] = 4;
  auto d = Open(coastal);
  EXPECT_EQ(CityDaysText(d->ShownDays()), "tomorrow      ");
  d->ButtonFor(PieceType::Army)->click();
  EXPECT_EQ(game->pieces[coastal].production, PieceType::Army) << "the change is made at once";
  EXPECT_EQ(CityDaysText(d->ShownDays()), "in 4 days  ");
  d->ButtonFor(PieceType::Bomber)->click();
  EXPECT_EQ(d->ShownDays(), 1);
  d->accept();
  EXPECT_EQ(game->pieces[coastal].daysLeft, 1) << "the same type again keeps the work done";

  // A real change: the build restarts and the last piece with moves becomes current.
  AddPiece(*game, PieceType::Army, 0, 1, 1);
  const int second = AddPiece(*game, PieceType::Fighter, 0, 1, 1);
  game->pieces[AddPiece(*game, PieceType::Army, 0, 1, 1)].movesLeft = 0;
  game->state.currentPiece = 0;
  auto e = Open(coastal);
  e->ButtonFor(PieceType::Destroyer)->click();
  e->accept();
  EXPECT_EQ(game->pieces[coastal].production, PieceType::Destroyer);
  EXPECT_EQ(game->pieces[coastal].daysLeft, game->settings.days[PieceType::Destroyer]);
  EXPECT_EQ(game->state.currentPiece, second);

  // Cancel puts the production back and leaves the days.
  auto f = Open(coastal);
  f->ButtonFor(PieceType::Carrier)->click();
  f->reject();
  EXPECT_EQ(game->pieces[coastal].production, PieceType::Destroyer);
  EXPECT_EQ(game->pieces[coastal].daysLeft, game->settings.days[PieceType::Destroyer]);

  // Run modally, it ends through its own buttons.
  QTimer::singleShot(0, [] {
    if (auto* modal = qobject_cast<CityDialog*>(QApplication::activeModalWidget())) {
      modal->ButtonFor(PieceType::Army)->click();
      modal->findChild<QPushButton*>("ok")->click();
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
  const QImage shot = Shot(*d);
  EXPECT_EQ(shot.copy(QRect(d->SlotPosition(4, 1, d->AwakeTop()), QSize(16, 16))),
            pictures.Piece(PictureSet::Large, 0, PieceType::Army).Variant(1, false, false));
}

TEST_F(CityDialogTest, ClicksPutAwakePiecesToSleepAndWakeSleepersAsTheCurrentPieceButNotInADemo) {
  const int a = AddPiece(*game, PieceType::Army, 0, 1, 1);
  const int b = AddPiece(*game, PieceType::Army, 0, 1, 1);
  game->pieces[b].destX = 5;
  game->state.demoMode = 1;
  auto demo = Open(coastal);
  Release(*demo, SlotCentre(*demo, 0, 0, demo->AwakeTop()));
  EXPECT_EQ(game->pieces[a].state, PieceState::Ready);
  game->state.demoMode = 0;
  auto d = Open(coastal);
  Release(*d, SlotCentre(*d, 1, 0, d->AwakeTop()));
  EXPECT_EQ(game->pieces[b].state, PieceState::Asleep);
  EXPECT_EQ(game->pieces[b].destX, 1);
  EXPECT_EQ(game->pieces[a].state, PieceState::Ready);
  // The asleep box answers lower than it is drawn: its first row is hit
  // down to 0.84 of the height + 11, over the top of the drawn second row.
  Release(*d, QPoint(SlotCentre(*d, 0, 0, d->AsleepTop()).x(), static_cast<int>(0.84 * d->height()) + 10));
  EXPECT_EQ(game->pieces[b].state, PieceState::Ready);
  EXPECT_EQ(game->state.currentPiece, b);
}

}  // namespace
}  // namespace vortan::test

int main(int argc, char** argv) { return vortan::test::RunWindowTests(argc, argv); }

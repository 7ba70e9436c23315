// SPDX-License-Identifier: GPL-3.0-or-later
// The City dialog: which production buttons it offers, the days it shows,
// and what OK and Cancel leave behind.
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
  std::unique_ptr<CityDialog> Open(int city) {
    return std::make_unique<CityDialog>(*game, pictures, city, window.get());
  }
  std::tuple<int, int> Building() const { return {game->pieces[coastal].production, game->pieces[coastal].daysLeft}; }
  int coastal = -1, inland = -1;
};

TEST_F(CityDialogTest, ButtonsAreEnabledByUseCoastAndDemo) {
  const std::string letters = "ADFbBCSTP";  // army .. para in type order; b: bomber, B: battleship
  const struct {
    const char* what;
    bool coast;
    int outOfUse, demo, day;
    const char* enabled;  // the types whose buttons can be pressed
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
  EXPECT_EQ(Building(), std::tuple(PieceType::Destroyer, game->settings.days[PieceType::Destroyer]));
  EXPECT_EQ(game->state.currentPiece, second);

  // Cancel puts the production back and leaves the days.
  auto f = Open(coastal);
  f->ButtonFor(PieceType::Carrier)->click();
  f->reject();
  EXPECT_EQ(Building(), std::tuple(PieceType::Destroyer, game->settings.days[PieceType::Destroyer]));

  // Run modally, it ends through its own buttons.
  QTimer::singleShot(0, [] {
    if (auto* modal = qobject_cast<CityDialog*>(QApplication::activeModalWidget())) {
      modal->ButtonFor(PieceType::Army)->click();
      modal->findChild<QPushButton*>("ok")->click();
    }
  });
  RunCityDialog(*game, pictures, coastal, window.get());
  EXPECT_EQ(Building(), std::tuple(PieceType::Army, game->settings.days[PieceType::Army]));
}

}  // namespace
}  // namespace vortan::test

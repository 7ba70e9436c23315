// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the game in the event loop's idle time: AdvanceGame steps for one
// short time slice per turn of the loop, then input is handled and the screen
// painted once for all the steps of the slice. A slice ends early when a
// human's piece comes to wait for an order; then the loop sleeps and wakes on
// the next input. While the window holds the game (an explosion playing its
// frames) no step starts: the loop resumes when the window lets go.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

#include "model/game.h"

namespace vortan {

class GameLoop : public QObject {
  Q_OBJECT
 public:
  explicit GameLoop(Game& g, QObject* parent = nullptr);

  // Arms the next step if there is work; harmless to call at any time.
  void Wake();
  // After input: one step whatever the state, then on while work remains.
  void WakeForInput();
  // True while the game can advance without new input.
  bool WorkRemains() const;
  // The window lets go of the game: the steps go on, and a step asked for by
  // input in the meantime runs now.
  void Resume();
  bool StepPending() const { return timer_.isActive(); }
  int StepsRun() const { return steps_; }
  int SlicesRun() const { return slices_; }
  // The longest slice so far, in nanoseconds: how long input could wait for
  // the event loop.
  qint64 LongestSliceNs() const { return longestSliceNs_; }
  // How long a slice goes on starting new steps. Input waits at most this
  // plus one step.
  static constexpr qint64 kSliceNs = 4'000'000;
  // Called after each slice (the window shows what the steps changed there),
  // and after every step (for tests and benchmarks; unset in the program).
  std::function<void()> afterSlice;
  std::function<void()> afterStep;
  // While this holds, no step starts (unset: never).
  std::function<bool()> holdWhile;
  // What a step does; AdvanceGame unless a test puts something else in.
  std::function<void(Game&)> step;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void RunSlice();
  void RunStep();
  bool Held() const { return holdWhile && holdWhile(); }
  void ReportBrokenInvariant();

  Game& g_;
  QTimer timer_;
  bool running_ = false;
  bool stepOwed_ = false;  // input asked for a step while the game was held
  int steps_ = 0;
  int slices_ = 0;
  qint64 longestSliceNs_ = 0;
  bool reportedBrokenInvariant_ = false;
};

}  // namespace vortan

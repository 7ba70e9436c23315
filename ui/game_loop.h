// Runs the game in the event loop's idle time: one AdvanceGame step per turn
// of the loop, so the screen follows each step and input is handled between
// steps. It sleeps while a human's piece waits for an order and wakes on the
// next input.
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
  bool StepPending() const { return timer_.isActive(); }
  int StepsRun() const { return steps_; }
  // Called after every step (the shell updates the pointer shape there).
  std::function<void()> afterStep;
  // What a step does; AdvanceGame unless a test puts something else in.
  std::function<void(Game&)> step;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void RunStep();
  void ReportBrokenInvariant();

  Game& g_;
  QTimer timer_;
  bool running_ = false;
  int steps_ = 0;
  bool reportedBrokenInvariant_ = false;
};

}  // namespace vortan

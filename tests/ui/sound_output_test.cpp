// SPDX-License-Identifier: GPL-3.0-or-later
// The sound card's effects through the real audio path: the player plays into
// a PulseAudio null sink and what reaches the sink is recorded from its
// monitor. A burst of effects a few milliseconds apart, as in a computer's
// turn, must be heard, not cut into silence.
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMediaDevices>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>

#include "model/hooks.h"
#include "model/random.h"
#include "ui/sound_player.h"
#include "window_fixture.h"

namespace vortan::test {
namespace {

// A PulseAudio daemon of the test's own, with a null sink as its only output,
// so the test neither depends on nor disturbs the machine's sound.
class NullSinkServer {
 public:
  // Empty when the server runs; otherwise why it could not be started.
  QString Start() {
    const QString program = QStandardPaths::findExecutable("pulseaudio");
    if (program.isEmpty()) return "the PulseAudio daemon (package pulseaudio) is not installed";
    if (!dir_.isValid()) return "no temporary folder for the daemon";
    const QString socket = dir_.filePath("native");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", dir_.path());
    env.insert("XDG_RUNTIME_DIR", dir_.path());
    env.insert("XDG_CONFIG_HOME", dir_.filePath("config"));
    env.insert("PULSE_RUNTIME_PATH", dir_.filePath("runtime"));
    env.remove("DBUS_SESSION_BUS_ADDRESS");
    daemon_.setProcessEnvironment(env);
    daemon_.setProcessChannelMode(QProcess::MergedChannels);
    daemon_.start(program,
                  {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "--use-pid-file=no", "--system=no",
                   "--load=module-null-sink sink_name=vortan_test_null",
                   // Qt lists no monitor sources; a remapped one it does.
                   "--load=module-remap-source master=vortan_test_null.monitor source_name=vortan_test_capture",
                   "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket});
    if (!daemon_.waitForStarted(5000)) return "pulseaudio did not start: " + daemon_.errorString();
    QElapsedTimer clock;
    clock.start();
    while (!QFileInfo::exists(socket) && clock.elapsed() < 10000 && daemon_.state() == QProcess::Running)
      QThread::msleep(20);
    if (!QFileInfo::exists(socket)) return "pulseaudio gave no socket: " + QString::fromLocal8Bit(daemon_.readAll());
    qputenv("PULSE_SERVER", ("unix:" + socket).toLocal8Bit());
    return {};
  }
  ~NullSinkServer() {
    if (daemon_.state() == QProcess::NotRunning) return;
    daemon_.terminate();
    if (!daemon_.waitForFinished(3000)) daemon_.kill(), daemon_.waitForFinished(3000);
  }

 private:
  QTemporaryDir dir_;
  QProcess daemon_;
};

QAudioFormat MonoFormat() {
  QAudioFormat f;
  f.setSampleRate(22050);
  f.setChannelCount(1);
  f.setSampleFormat(QAudioFormat::Int16);
  return f;
}

// Runs the event loop for the given time, appending what the recorder read.
void Record(QIODevice* in, QByteArray& into, int ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    into += in->readAll();
    QThread::usleep(500);
  }
  into += in->readAll();
}

struct Loudness {
  int peak = 0;
  double rms = 0;
};
Loudness Measure(const QByteArray& pcm) {
  const auto* s = reinterpret_cast<const int16_t*>(pcm.constData());
  const qsizetype n = pcm.size() / 2;
  Loudness l;
  double sum = 0;
  for (qsizetype i = 0; i < n; ++i) {
    l.peak = std::max(l.peak, std::abs(int(s[i])));
    sum += double(s[i]) * s[i];
  }
  l.rms = n ? std::sqrt(sum / n) : 0;
  return l;
}

TEST(SoundOutputTest, ABurstOfFiftyEffectsThreeMillisecondsApartIsHeard) {
  NullSinkServer server;
  const QString whyNot = server.Start();
  if (!whyNot.isEmpty())
    GTEST_SKIP() << "no PulseAudio null sink to test the real audio path: " << whyNot.toStdString();
  const QAudioDevice monitor = QMediaDevices::defaultAudioInput();
  ASSERT_FALSE(monitor.isNull()) << "the test's PulseAudio server shows no monitor of its null sink";
  ASSERT_FALSE(QMediaDevices::defaultAudioOutput().isNull()) << "the test's PulseAudio server shows no output";

  QAudioSource recorder(monitor, MonoFormat());
  recorder.setBufferSize(4410);  // 100 ms: the default hands over the sound only after seconds
  QIODevice* in = recorder.start();
  ASSERT_NE(in, nullptr) << "the monitor of the null sink cannot be recorded";
  // The recording starts flowing a while after the recorder starts.
  QByteArray warmUp, before, during;
  QElapsedTimer waited;
  waited.start();
  while (warmUp.isEmpty() && waited.elapsed() < 5000) Record(in, warmUp, 20);
  ASSERT_FALSE(warmUp.isEmpty()) << "nothing could be recorded from the null sink's monitor in 5 s";
  Record(in, before, 300);

  auto sound = std::make_unique<SoundPlayer>();
  sound->searchFolders = {VORTAN_SOURCE_DIR "/resources/sounds"};
  Random rng;
  const int kEffects[] = {SoundEffect::Bomber, SoundEffect::Tank, SoundEffect::Ship, SoundEffect::Fighter};
  QElapsedTimer clock;
  clock.start();
  for (int k = 0; k < 50; ++k) {
    sound->Play(kEffects[k % 4], SoundMode::Card, rng);
    while (clock.nsecsElapsed() < (k + 1) * 3'000'000LL) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
      during += in->readAll();
    }
  }
  // The burst is over: what was cut short stays cut short, and the last
  // effect is stopped too, so only what played during the burst is measured.
  sound.reset();
  Record(in, during, 400);
  recorder.stop();

  const Loudness quiet = Measure(before), burst = Measure(during);
  EXPECT_LT(quiet.peak, 100) << "the null sink was not silent before the burst";
  ASSERT_GT(during.size(), 22050 / 4) << "too little was recorded from the monitor: " << during.size() << " bytes";
  EXPECT_GT(burst.peak, 2000) << "the burst was not heard: peak " << burst.peak << ", RMS " << burst.rms;
  EXPECT_GT(burst.rms, 100) << "the burst was barely heard: peak " << burst.peak << ", RMS " << burst.rms;
  std::printf("burst of 50 effects 3 ms apart: peak %d, RMS %.0f over %lld samples\n", burst.peak, burst.rms,
              static_cast<long long>(during.size() / 2));
}

}  // namespace
}  // namespace vortan::test

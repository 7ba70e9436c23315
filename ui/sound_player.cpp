// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/sound_player.h"

#include <QApplication>
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMediaDevices>
#include <QStandardPaths>
#include <QThread>
#include <cstdio>

#include "model/hooks.h"
#include "model/random.h"
#include "ui/pcm_sound.h"

namespace vortan {

namespace {
// About 60 ms of sound queued ahead: short enough that a new effect is heard
// at once, long enough that a busy machine does not starve the stream.
constexpr int kQueuedBytes = kPcmRate * 2 * 60 / 1000;
}  // namespace

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent) {
  // Beside the program in the build tree, then the data folder of the prefix
  // it is installed in (bin/ or games/ next to share/vortan).
  const QString exe = QCoreApplication::applicationDirPath();
  searchFolders << exe << exe + "/sounds" << exe + "/../share/vortan/sounds";
}

// The first folder that holds the file, else wherever the desktop's data
// folders ($XDG_DATA_HOME, $XDG_DATA_DIRS) keep vortan/sounds; empty if nowhere.
QString SoundPlayer::Locate(const QString& file) const {
  for (const QString& folder : searchFolders)
    if (QFileInfo::exists(folder + "/" + file)) return QDir(folder).absoluteFilePath(file);
  return QStandardPaths::locate(QStandardPaths::AppDataLocation, "sounds/" + file);
}

SoundPlayer::~SoundPlayer() { CloseStream(); }

QString SoundPlayer::FileFor(int effect, int draw) {
  switch (effect) {
    case SoundEffect::Bomber:
      return "bomber.wav";
    case SoundEffect::Tank:
      return draw % 2 == 0 ? "tank1.wav" : "tank2.wav";
    case SoundEffect::Ship:
      return "ship.wav";
    case SoundEffect::Distant:
      return draw % 2 == 0 ? "distant1.wav" : "distant2.wav";
    case SoundEffect::Fighter:
      return "fighter.wav";
    case SoundEffect::Para:
      return "para.wav";
    case SoundEffect::Laugh:
      return "haha.wav";
    case SoundEffect::Victory:
      return "victory.wav";
    default:
      return {};
  }
}

int SoundPlayer::Draw(int effect, uint8_t soundMode, Random& rng) {
  const bool twoFiles = effect == SoundEffect::Tank || effect == SoundEffect::Distant;
  return soundMode == SoundMode::Card && twoFiles ? rng.Next() : 0;
}

void SoundPlayer::PlayDrawn(int effect, uint8_t soundMode, int draw) {
  if (soundMode == SoundMode::Speaker) {
    if (effect == SoundEffect::Bomber || effect == SoundEffect::Tank || effect == SoundEffect::Ship ||
        effect == SoundEffect::Fighter)
      QApplication::beep();
    return;
  }
  if (soundMode != SoundMode::Card) return;
  PlayFile(FileFor(effect, draw), effect == SoundEffect::Distant);
}

bool SoundPlayer::OpenStream() {
  if (device_ >= 0) return device_ == 1;
  device_ = 0;
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  QAudioFormat format;
  format.setSampleRate(kPcmRate);
  format.setChannelCount(1);
  format.setSampleFormat(QAudioFormat::Int16);
  if (device.isNull()) {
    std::fprintf(stderr, "vortan: no audio output device found; the game plays on without sound\n");
    return false;
  }
  if (!device.isFormatSupported(format)) {
    std::fprintf(stderr,
                 "vortan: the audio device cannot play 16-bit sound at %d Hz; the game plays on without sound\n",
                 kPcmRate);
    return false;
  }
  thread_ = new QThread(this);
  thread_->setObjectName("vortan sound");
  thread_->start();
  feeder_ = new QObject;
  feeder_->moveToThread(thread_);
  // The stream and what it reads live in the thread that feeds it, so a long
  // computer turn in the window's thread never lets it run dry.
  QMetaObject::invokeMethod(
      feeder_,
      [this, device, format] {
        voice_ = new PcmVoice;
        sink_ = new QAudioSink(device, format);
        sink_->setBufferSize(kQueuedBytes);
        sink_->start(voice_);
      },
      Qt::BlockingQueuedConnection);
  device_ = 1;
  return true;
}

void SoundPlayer::CloseStream() {
  if (!thread_) return;
  QMetaObject::invokeMethod(
      feeder_,
      [this] {
        sink_->stop();
        delete sink_;
        delete voice_;
        sink_ = nullptr;
        voice_ = nullptr;
      },
      Qt::BlockingQueuedConnection);
  thread_->quit();
  thread_->wait();
  delete feeder_;
}

void SoundPlayer::LoadAll() {
  // Every file is read ahead, so that the first time an effect plays it starts at once.
  static const char* kFiles[] = {"bomber.wav",  "tank1.wav", "tank2.wav", "distant1.wav", "distant2.wav",
                                 "fighter.wav", "para.wav",  "ship.wav",  "haha.wav",     "victory.wav"};
  for (const char* file : kFiles) {
    QByteArray pcm;
    if (const QString path = Locate(file); !path.isEmpty()) pcm = LoadWaveAsPcm(path);
    effects_.emplace(file, pcm);
  }
}

void SoundPlayer::PlayFile(const QString& file, bool unlessBusy) {
  if (file.isEmpty() || !OpenStream()) return;
  if (effects_.empty()) LoadAll();
  if (unlessBusy && voice_->Busy()) return;
  auto it = effects_.find(file);
  if (it == effects_.end() || it->second.isEmpty()) return;  // a missing file is silently nothing
  voice_->Start(it->second);                                 // cuts short whatever was playing
}

}  // namespace vortan

#include "ui/sound_player.h"

#include <QApplication>
#include <QAudioDevice>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QStandardPaths>
#include <QUrl>
#include <cstdio>

#include "model/hooks.h"
#include "model/random.h"

namespace vortan {

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

SoundPlayer::~SoundPlayer() = default;

QString SoundPlayer::FileFor(int effect, int draw) {
  switch (effect) {
    case SoundEffect::Bomber: return "bomber.wav";
    case SoundEffect::Tank: return draw % 2 == 0 ? "tank1.wav" : "tank2.wav";
    case SoundEffect::Ship: return "ship.wav";
    case SoundEffect::Distant: return draw % 2 == 0 ? "distant1.wav" : "distant2.wav";
    case SoundEffect::Fighter: return "fighter.wav";
    case SoundEffect::Para: return "para.wav";
    case SoundEffect::Laugh: return "haha.wav";
    case SoundEffect::Victory: return "victory.wav";
    default: return {};
  }
}

void SoundPlayer::Play(int effect, uint8_t soundMode, Random& rng) {
  if (soundMode == SoundMode::Speaker) {
    if (effect == SoundEffect::Bomber || effect == SoundEffect::Tank || effect == SoundEffect::Ship ||
        effect == SoundEffect::Fighter)
      QApplication::beep();
    return;
  }
  if (soundMode != SoundMode::Card) return;
  const bool twoFiles = effect == SoundEffect::Tank || effect == SoundEffect::Distant;
  const int draw = twoFiles ? rng.Next() : 0;
  PlayFile(FileFor(effect, draw), effect == SoundEffect::Distant);
}

bool SoundPlayer::DeviceAvailable() {
  if (device_ < 0) {
    device_ = QMediaDevices::audioOutputs().isEmpty() ? 0 : 1;
    if (!device_) std::fprintf(stderr, "vortan: no audio output device found; the game plays on without sound\n");
  }
  return device_ == 1;
}

void SoundPlayer::LoadAll() {
  // Every file is read ahead, so that the first time an effect plays it starts at once.
  static const char* kFiles[] = {"bomber.wav",   "tank1.wav", "tank2.wav", "distant1.wav", "distant2.wav",
                                 "fighter.wav",  "para.wav",  "ship.wav",  "haha.wav",     "victory.wav"};
  for (const char* file : kFiles) {
    QSoundEffect* e = nullptr;
    if (const QString path = Locate(file); !path.isEmpty()) {
      e = new QSoundEffect(this);
      e->setSource(QUrl::fromLocalFile(path));
    }
    effects_.emplace(file, e);
  }
}

bool SoundPlayer::AnyPlaying() const {
  for (const auto& [name, e] : effects_)
    if (e && e->isPlaying()) return true;
  return false;
}

void SoundPlayer::PlayFile(const QString& file, bool unlessBusy) {
  if (file.isEmpty() || !DeviceAvailable()) return;
  if (effects_.empty()) LoadAll();
  if (unlessBusy && AnyPlaying()) return;
  auto it = effects_.find(file);
  QSoundEffect* e = it == effects_.end() ? nullptr : it->second;
  if (!e) return;   // a missing file is silently nothing
  for (const auto& [name, other] : effects_)
    if (other && other != e && other->isPlaying()) other->stop();
  e->stop();
  e->play();
}

}  // namespace vortan

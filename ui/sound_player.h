// Plays the sound effects: wave files on a sound card, the standard beep on
// the PC speaker, or nothing. Never waits for a sound; with no audio device it
// says so once and stays silent.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <map>

class QSoundEffect;

namespace vortan {

class Random;

class SoundPlayer : public QObject {
  Q_OBJECT
 public:
  explicit SoundPlayer(QObject* parent = nullptr);
  ~SoundPlayer() override;

  // The file name an effect plays on a sound card (for Tank and Distant the
  // draw picks the variant: even the file ending in 1, odd the one in 2).
  static QString FileFor(int effect, int draw);
  // The whole effect: the mode decides beep, file or nothing; rng is drawn
  // only for Tank and Distant on a sound card.
  void Play(int effect, uint8_t soundMode, Random& rng);

  // Folders searched for the wave files, in order, before the desktop's data folders.
  QStringList searchFolders;
  // The full path of a wave file, or empty when it is nowhere to be found.
  QString Locate(const QString& file) const;

 private:
  void PlayFile(const QString& file, bool unlessBusy);
  bool DeviceAvailable();
  bool AnyPlaying() const;
  void LoadAll();

  std::map<QString, QSoundEffect*> effects_;
  int device_ = -1;   // -1 unknown, 0 none, 1 present
};

}  // namespace vortan

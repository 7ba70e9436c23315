// SPDX-License-Identifier: GPL-3.0-or-later
// Plays the sound effects: wave files on a sound card, the standard beep on
// the PC speaker, or nothing. Never waits for a sound; with no audio device it
// says so once and stays silent.
//
// On a sound card every file is read into memory ahead, and one audio stream,
// opened once and fed by a thread of its own, plays them: an effect that cuts
// short the one in progress switches the stream to its samples at once, so a
// burst of effects during a computer's turn is heard, not lost in streams
// being stopped and started again.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <map>

class QAudioSink;
class QThread;

namespace vortan {

class PcmVoice;
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
  void Play(int effect, uint8_t soundMode, Random& rng) { PlayDrawn(effect, soundMode, Draw(effect, soundMode, rng)); }
  // The same in two parts: the game's draw made when the game asks for the
  // sound, the sound played when its turn comes.
  static int Draw(int effect, uint8_t soundMode, Random& rng);
  void PlayDrawn(int effect, uint8_t soundMode, int draw);

  // Folders searched for the wave files, in order, before the desktop's data folders.
  QStringList searchFolders;
  // The full path of a wave file, or empty when it is nowhere to be found.
  QString Locate(const QString& file) const;

 private:
  void PlayFile(const QString& file, bool unlessBusy);
  bool OpenStream();
  void LoadAll();
  void CloseStream();

  std::map<QString, QByteArray> effects_;  // empty: file missing or unreadable
  int device_ = -1;                        // -1 not tried yet, 0 none, 1 open
  QThread* thread_ = nullptr;              // feeds the stream
  QObject* feeder_ = nullptr;              // lives in thread_: runs what must happen there
  QAudioSink* sink_ = nullptr;             // lives in thread_
  PcmVoice* voice_ = nullptr;              // lives in thread_
};

}  // namespace vortan

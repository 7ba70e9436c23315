// SPDX-License-Identifier: GPL-3.0-or-later
// Sound as the audio device takes it: wave files read into memory as 16-bit
// mono samples at one rate, and the one voice that plays them back.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <mutex>

namespace vortan {

// The rate every effect is converted to, so that one stream plays them all.
inline constexpr int kPcmRate = 22050;

// The samples of a wave file as 16-bit mono at kPcmRate; empty when the file
// cannot be read or holds no PCM sound.
QByteArray LoadWaveAsPcm(const QString& path);

// What the audio stream reads: the effect being played, then silence without
// end, so the stream never runs dry and never has to be opened again. Start()
// switches to another effect at once; it may be called from any thread.
class PcmVoice : public QIODevice {
 public:
  PcmVoice();
  void Start(const QByteArray& pcm);
  void Stop() { Start(QByteArray()); }
  // True while an effect has samples left to play.
  bool Busy() const;

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char*, qint64) override { return -1; }
  qint64 bytesAvailable() const override { return 1 << 20; }
  bool isSequential() const override { return true; }

 private:
  mutable std::mutex mutex_;
  QByteArray pcm_;  // shares the preloaded buffer's data; no copy is made
  qint64 position_ = 0;
};

}  // namespace vortan

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pcm_sound.h"

#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace vortan {

namespace {

struct WaveFormat {
  int channels = 0, rate = 0, bits = 0;
};

// One sample of the given frame, as signed 16 bits averaged over the channels.
int16_t MonoSample(const char* frame, const WaveFormat& f) {
  int sum = 0;
  for (int c = 0; c < f.channels; ++c) {
    if (f.bits == 8)
      sum += (static_cast<uint8_t>(frame[c]) - 128) * 256;
    else
      sum += qFromLittleEndian<int16_t>(frame + 2 * c);
  }
  return static_cast<int16_t>(sum / f.channels);
}

}  // namespace

QByteArray LoadWaveAsPcm(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") return {};
  WaveFormat f;
  QByteArray data;
  for (qsizetype at = 12; at + 8 <= bytes.size();) {
    const QByteArray id = bytes.mid(at, 4);
    const qsizetype size = qFromLittleEndian<uint32_t>(bytes.constData() + at + 4);
    const qsizetype body = at + 8;
    if (id == "fmt " && size >= 16 && body + 16 <= bytes.size()) {
      if (qFromLittleEndian<uint16_t>(bytes.constData() + body) != 1) return {};  // PCM only
      f.channels = qFromLittleEndian<uint16_t>(bytes.constData() + body + 2);
      f.rate = static_cast<int>(qFromLittleEndian<uint32_t>(bytes.constData() + body + 4));
      f.bits = qFromLittleEndian<uint16_t>(bytes.constData() + body + 14);
    } else if (id == "data") {
      data = bytes.mid(body, std::min(size, bytes.size() - body));
    }
    at = body + size + (size & 1);
  }
  if (f.channels < 1 || f.rate < 1 || (f.bits != 8 && f.bits != 16) || data.isEmpty()) return {};
  const int frameBytes = f.channels * f.bits / 8;
  const qsizetype frames = data.size() / frameBytes;
  // The nearest source frame for each output frame: the files are short
  // effects, where a finer resampling would not be heard.
  const qsizetype outFrames = frames * kPcmRate / f.rate;
  QByteArray out(outFrames * 2, Qt::Uninitialized);
  for (qsizetype i = 0; i < outFrames; ++i) {
    const qsizetype from = std::min(frames - 1, i * f.rate / kPcmRate);
    qToLittleEndian<int16_t>(MonoSample(data.constData() + from * frameBytes, f), out.data() + 2 * i);
  }
  return out;
}

PcmVoice::PcmVoice() { open(QIODevice::ReadOnly); }

void PcmVoice::Start(const QByteArray& pcm) {
  std::lock_guard lock(mutex_);
  pcm_ = pcm;
  position_ = 0;
}

bool PcmVoice::Busy() const {
  std::lock_guard lock(mutex_);
  return position_ < pcm_.size();
}

qint64 PcmVoice::readData(char* data, qint64 maxSize) {
  maxSize &= ~qint64(1);  // whole samples only
  std::lock_guard lock(mutex_);
  const qint64 sound = std::clamp<qint64>(pcm_.size() - position_, 0, maxSize);
  if (sound > 0) std::memcpy(data, pcm_.constData() + position_, static_cast<size_t>(sound));
  std::memset(data + sound, 0, static_cast<size_t>(maxSize - sound));
  position_ += sound;
  return maxSize;
}

}  // namespace vortan

// SPDX-License-Identifier: GPL-3.0-or-later
// Memory for the large objects that live through the whole run and are
// touched on every step or paint: the game's records and the map's off-screen
// picture. They are asked for in huge pages where the system offers them:
// after the event loop has slept (an explosion's 30 ms frames, a human
// thinking), the first touch of every small page costs more than the work
// done on it, and a whole step's or a cell's worth of data spans many pages.
#pragma once

#include <QImage>
#include <QSize>
#include <cstddef>
#include <memory>
#include <new>

namespace vortan {

// At least `bytes` of memory, in huge pages if the system agrees; nullptr when
// there is no memory. Released by FreeLarge.
void* AllocateLarge(std::size_t bytes);
void FreeLarge(void* memory);

template <typename T>
struct LargeDeleter {
  void operator()(T* object) const {
    object->~T();
    FreeLarge(object);
  }
};
template <typename T>
using LargeObject = std::unique_ptr<T, LargeDeleter<T>>;

// A default-constructed T in large memory; empty when there is no memory.
template <typename T>
LargeObject<T> MakeLarge() {
  void* memory = AllocateLarge(sizeof(T));
  return LargeObject<T>(memory ? new (memory) T : nullptr);
}

// A Format_RGB32 image of the size, its pixels undefined and each of its
// lines starting on a cache line; in large memory unless it is small.
QImage MakeBackBuffer(QSize size);

}  // namespace vortan

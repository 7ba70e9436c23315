// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/large_memory.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vortan {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr qsizetype kCacheLine = 64;
}  // namespace

void* AllocateLarge(std::size_t bytes) {
  // Whole huge pages, aligned to them, so that the hint can be taken.
  const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* memory = std::aligned_alloc(kHugePage, rounded);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (memory) madvise(memory, rounded, MADV_HUGEPAGE);  // a hint: refused, the pages are small
#endif
  return memory;
}

void FreeLarge(void* memory) { std::free(memory); }

QImage MakeBackBuffer(QSize size) {
  // Every line starts on a cache line. A cell's row of pixels (16 or 32
  // pixels, 64 or 128 bytes) then spans as few cache lines as it can; with
  // the lines packed end to end most rows would straddle one more, and
  // drawing a cell that is not in the caches waits for each of them.
  const qsizetype stride = (qsizetype{size.width()} * 4 + kCacheLine - 1) / kCacheLine * kCacheLine;
  const std::size_t bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(size.height());
  if (size.isEmpty()) return QImage(size, QImage::Format_RGB32);
  // A small picture stays in the caches anyway: no huge pages for it.
  void* pixels = bytes < kHugePage / 2 ? std::aligned_alloc(kCacheLine, bytes) : AllocateLarge(bytes);
  if (!pixels) return QImage(size, QImage::Format_RGB32);
  return QImage(static_cast<uchar*>(pixels), size.width(), size.height(), stride, QImage::Format_RGB32, FreeLarge,
                pixels);
}

}  // namespace vortan

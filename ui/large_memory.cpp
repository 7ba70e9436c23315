// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/large_memory.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vortan {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
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
  const qsizetype stride = qsizetype{size.width()} * 4;
  const std::size_t bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(size.height());
  // A small picture stays in the caches anyway.
  if (size.isEmpty() || bytes < kHugePage / 2) return QImage(size, QImage::Format_RGB32);
  void* pixels = AllocateLarge(bytes);
  if (!pixels) return QImage(size, QImage::Format_RGB32);
  return QImage(static_cast<uchar*>(pixels), size.width(), size.height(), stride, QImage::Format_RGB32, FreeLarge,
                pixels);
}

}  // namespace vortan

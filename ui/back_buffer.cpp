// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/back_buffer.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vortan {

namespace {

#if defined(__linux__) && defined(MADV_HUGEPAGE)
constexpr size_t kHugePage = size_t{2} << 20;

void FreePixels(void* pixels) { std::free(pixels); }

QImage InHugePages(QSize size) {
  const qsizetype stride = qsizetype{size.width()} * 4;
  const size_t bytes = static_cast<size_t>(stride) * static_cast<size_t>(size.height());
  if (bytes < kHugePage / 2) return {};  // small enough to stay in the caches anyway
  const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* pixels = std::aligned_alloc(kHugePage, rounded);
  if (!pixels) return {};
  madvise(pixels, rounded, MADV_HUGEPAGE);  // a hint: refused, the pages are small
  return QImage(static_cast<uchar*>(pixels), size.width(), size.height(), stride, QImage::Format_RGB32, FreePixels,
                pixels);
}
#else
QImage InHugePages(QSize) { return {}; }
#endif

}  // namespace

QImage MakeBackBuffer(QSize size) {
  if (size.isEmpty()) return QImage(size, QImage::Format_RGB32);
  QImage image = InHugePages(size);
  return image.isNull() ? QImage(size, QImage::Format_RGB32) : image;
}

}  // namespace vortan

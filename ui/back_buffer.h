// SPDX-License-Identifier: GPL-3.0-or-later
// The off-screen image a window draws into between paints.
#pragma once

#include <QImage>
#include <QSize>

namespace vortan {

// A Format_RGB32 image of the size, its pixels undefined. A large one is
// asked for in huge pages where the system offers them: the map's picture
// spans megabytes, each of its rows a page apart, and after the event loop
// has slept the first touch of every small page costs more than drawing the
// cell on it.
QImage MakeBackBuffer(QSize size);

}  // namespace vortan

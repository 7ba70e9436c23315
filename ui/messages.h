// SPDX-License-Identifier: GPL-3.0-or-later
// Every text the game shows in a message box, in one table: the core and the
// window code pass their English text through the presentation hook, and the
// application shows it in the user's language.
#pragma once

#include <QString>
#include <span>
#include <string_view>

namespace vortan {

// The text in the user's language. A text of several paragraphs (a message,
// a blank line, then the file and the reason) has its paragraphs translated
// one by one; what is not in the table is shown as it is.
QString TranslateMessage(std::string_view text);
// The table itself, English, for checking that a translation is complete.
std::span<const char* const> MessageTable();

}  // namespace vortan

// SPDX-License-Identifier: GPL-3.0-or-later
// SHA-256 of a byte string, so the golden files can name outputs by the same
// digest the shell's sha256sum prints.
#pragma once

#include <string>
#include <string_view>

namespace vortan {

// The digest as lower-case hex, 64 characters.
std::string Sha256Hex(std::string_view bytes);

}  // namespace vortan

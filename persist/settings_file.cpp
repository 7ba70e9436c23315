// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: sections of key=value lines, read and written the way the
// classic profile functions do. Names match without regard to case or
// surrounding blanks, the first matching section and key win, and a write
// changes one line (or adds one) while every other line stays byte for byte.
#include "persist/settings_file.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>
#include <vector>

#include "model/piece_types.h"
#include "persist/file_bytes.h"

namespace vortan {
namespace {

constexpr std::string_view kNewLine = "\r\n";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";  // some editors put it before the first section

// One line of the file with its own line end ("\r\n", "\n", "\r" or none).
struct Line {
  std::string text;
  std::string end;
};

std::string_view TrimBlanks(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  a = TrimBlanks(a);
  b = TrimBlanks(b);
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::vector<Line> SplitLines(const std::string& text) {
  std::vector<Line> lines;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t stop = text.find_first_of("\r\n", i);
    Line line;
    if (stop == std::string::npos) {
      line.text = text.substr(i);
      i = text.size();
    } else {
      line.text = text.substr(i, stop - i);
      const bool crlf = text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n';
      line.end = text.substr(stop, crlf ? 2 : 1);
      i = stop + line.end.size();
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

// The file's lines; a leading byte-order mark is kept aside, so the first
// section is found behind it and a write puts it back.
struct ProfileText {
  std::vector<Line> lines;
  bool byteOrderMark = false;
};

ProfileText ParseText(std::string text) {
  ProfileText p;
  p.byteOrderMark = text.rfind(kByteOrderMark, 0) == 0;
  if (p.byteOrderMark) text.erase(0, kByteOrderMark.size());
  p.lines = SplitLines(text);
  return p;
}

// The whole file, read once for all the keys an operation needs.
ProfileText ReadProfile(const std::string& path) {
  if (path.empty()) return {};
  const auto bytes = ReadFileBytes(path, static_cast<std::size_t>(-1));
  if (!bytes) return {};
  return ParseText(std::string(bytes->begin(), bytes->end()));
}

// The section named by a "[name]" line, or nothing for any other line.
std::optional<std::string_view> SectionName(const Line& line) {
  const std::string_view t = TrimBlanks(line.text);
  if (t.empty() || t.front() != '[') return std::nullopt;
  const std::size_t close = t.rfind(']');
  if (close == std::string_view::npos) return std::nullopt;
  return TrimBlanks(t.substr(1, close - 1));
}

bool IsComment(const Line& line) {
  const std::string_view t = TrimBlanks(line.text);
  return !t.empty() && t.front() == ';';
}

// The key of a "key=value" line (a line without "=" is a key without value).
std::optional<std::string_view> KeyName(const Line& line) {
  const std::string_view t = TrimBlanks(line.text);
  if (t.empty() || IsComment(line) || SectionName(line)) return std::nullopt;
  return TrimBlanks(t.substr(0, t.find('=')));
}

std::string ValueOf(const Line& line) {
  const std::string_view t = line.text;
  const std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) return {};
  std::string_view v = TrimBlanks(t.substr(eq + 1));
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
  return std::string(v);
}

// Where a section's lines lie: the header line and one past its last line.
struct SectionSpan {
  std::size_t header = 0;
  std::size_t end = 0;
};

std::optional<SectionSpan> FindSection(const std::vector<Line>& lines, const std::string& section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto name = SectionName(lines[i]);
    if (!name || !SameName(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines.size() && !SectionName(lines[end])) ++end;
    return SectionSpan{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<Line>& lines, SectionSpan span, const std::string& key) {
  for (std::size_t i = span.header + 1; i < span.end; ++i) {
    const auto name = KeyName(lines[i]);
    if (name && SameName(*name, key)) return i;
  }
  return std::nullopt;
}

// An optional sign and the decimal digits after it, wrapping like a 32-bit
// register; anything else ends the number.
int32_t ParseProfileInt(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = value * 10u + static_cast<uint32_t>(text[i] - '0');
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

void EndWithNewLine(std::vector<Line>& lines) {
  if (!lines.empty() && lines.back().end.empty()) lines.back().end = kNewLine;
}

std::string JoinText(const ProfileText& p) {
  std::string text = p.byteOrderMark ? std::string(kByteOrderMark) : std::string();
  for (const Line& l : p.lines) text += l.text + l.end;
  return text;
}

std::string LookUp(const ProfileText& p, const std::string& section, const std::string& key, const std::string& def) {
  const auto span = FindSection(p.lines, section);
  if (!span) return def;
  const auto at = FindKey(p.lines, *span, key);
  return at ? ValueOf(p.lines[*at]) : def;
}

int32_t LookUpInt(const ProfileText& p, const std::string& section, const std::string& key, int32_t def) {
  const std::string value = LookUp(p, section, key, std::string());
  return value.empty() ? def : ParseProfileInt(value);
}

// Changes one key's line, or adds it to its section, or adds the section.
void SetEntry(std::vector<Line>& lines, const ProfileEntry& e) {
  const std::string entry = e.key + "=" + e.value;
  if (const auto span = FindSection(lines, e.section)) {
    if (const auto at = FindKey(lines, *span, e.key)) {
      lines[*at].text = std::string(*KeyName(lines[*at])) + "=" + e.value;
      return;
    }
    // After the section's last key, so blank lines and comments that lead
    // into the next section stay with it.
    std::size_t after = span->header;
    for (std::size_t i = span->header + 1; i < span->end; ++i)
      if (KeyName(lines[i])) after = i;
    if (lines[after].end.empty()) lines[after].end = kNewLine;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after) + 1, Line{entry, std::string(kNewLine)});
    return;
  }
  EndWithNewLine(lines);
  if (!lines.empty() && !TrimBlanks(lines.back().text).empty()) lines.push_back(Line{"", std::string(kNewLine)});
  lines.push_back(Line{"[" + e.section + "]", std::string(kNewLine)});
  lines.push_back(Line{entry, std::string(kNewLine)});
}

uint8_t LowByte(int32_t v) { return static_cast<uint8_t>(static_cast<uint32_t>(v) & 0xFFu); }

// Sound mode and colour choices: each Sounds value that selects a mode, with its menu item.

}  // namespace

std::string ReadProfileString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& def) {
  return LookUp(ReadProfile(path), section, key, def);
}

int32_t ReadProfileInt(const std::string& path, const std::string& section, const std::string& key, int32_t def) {
  return LookUpInt(ReadProfile(path), section, key, def);
}

bool WriteProfileStrings(const std::string& path, const std::vector<ProfileEntry>& entries) {
  if (path.empty()) return false;
  return UpdateFileBytes(path, [&](const std::optional<std::vector<uint8_t>>& old) {
    ProfileText p = old ? ParseText(std::string(old->begin(), old->end())) : ProfileText{};
    for (const ProfileEntry& e : entries) SetEntry(p.lines, e);
    const std::string text = JoinText(p);
    return std::vector<uint8_t>(text.begin(), text.end());
  });
}

bool WriteProfileString(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value) {
  return WriteProfileStrings(path, {{section, key, value}});
}

void LoadPieceAttributes(GameSettings& s, const std::string& path) {
  const ProfileText file = ReadProfile(path);
  for (int t = PieceType::Army; t <= PieceType::Para; ++t) {
    const PieceTypeDefaults& d = kPieceTypeDefaults[t];
    s.days[t] = LowByte(LookUpInt(file, "Days", d.key, d.days));
    s.moves[t] = LowByte(LookUpInt(file, "Moves", d.key, d.moves));
    // Types without a fuel attribute get the lower bound; nothing reads it.
    s.fuel[t] = d.fuel == 0 ? 0 : LowByte(LookUpInt(file, "Fuel", d.key, d.fuel));
    s.inUse[t] = LookUpInt(file, "Pieces", d.key, 1) == 1 ? 1 : 0;
  }
  BoundPieceAttributes(s);
}

void LoadSetupOptions(Game& g) {
  const ProfileText file = ReadProfile(g.settingsPath);
  const int32_t sounds = LookUpInt(file, "Setup", "Sounds", SoundMode::Card);
  if (sounds >= SoundMode::None && sounds <= SoundMode::Card) {
    g.app.soundMode = static_cast<uint8_t>(sounds);
    g.ui().SoundModeChanged(sounds);
  }
  const int32_t colour = LookUpInt(file, "Setup", "Colour", 1);
  if (colour == 0 || colour == 1) {
    g.app.monochrome = colour == 1 ? 0 : 1;
    g.ui().ColourChanged(colour == 1);
  }
}

void SaveSetupOptions(Game& g) {
  WriteProfileStrings(g.settingsPath, {{"Setup", "Sounds", std::to_string(g.app.soundMode)},
                                       {"Setup", "Colour", g.app.monochrome ? "0" : "1"}});
}

// A dialog reads its keys from one reading of the file, not one per key.
int32_t ProfileSettings::ReadInt(const std::string& section, const std::string& key, int32_t def) const {
  if (path_.empty()) return def;
  if (!text_) {
    const auto bytes = ReadFileBytes(path_, static_cast<std::size_t>(-1));
    text_ = bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
  }
  return LookUpInt(ParseText(*text_), section, key, def);
}

void ProfileSettings::WriteInt(const std::string& section, const std::string& key, int32_t value) {
  if (path_.empty()) return;
  WriteProfileString(path_, section, key, std::to_string(value));
  text_.reset();
}

}  // namespace vortan

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

constexpr std::size_t kMaxSettingsBytes = 1 << 20;
constexpr std::string_view kNewLine = "\r\n";

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

std::vector<Line> ReadLines(const std::string& path) {
  if (path.empty()) return {};
  const auto bytes = ReadFileBytes(path, kMaxSettingsBytes);
  if (!bytes) return {};
  return SplitLines(std::string(bytes->begin(), bytes->end()));
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

std::string JoinLines(const std::vector<Line>& lines) {
  std::string text;
  for (const Line& l : lines) text += l.text + l.end;
  return text;
}

uint8_t LowByte(int32_t v) { return static_cast<uint8_t>(static_cast<uint32_t>(v) & 0xFFu); }

// Sound mode and colour choices: each Sounds value that selects a mode, with its menu item.
constexpr int kSoundItems[] = {Cmd::NoSound, Cmd::PcSpeaker, Cmd::SoundCard};

}  // namespace

std::string ReadProfileString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& def) {
  const std::vector<Line> lines = ReadLines(path);
  const auto span = FindSection(lines, section);
  if (!span) return def;
  const auto at = FindKey(lines, *span, key);
  return at ? ValueOf(lines[*at]) : def;
}

int32_t ReadProfileInt(const std::string& path, const std::string& section, const std::string& key, int32_t def) {
  const std::string value = ReadProfileString(path, section, key, std::string());
  return value.empty() ? def : ParseProfileInt(value);
}

bool WriteProfileString(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value) {
  if (path.empty()) return false;
  std::vector<Line> lines = ReadLines(path);
  const std::string entry = key + "=" + value;
  if (const auto span = FindSection(lines, section)) {
    if (const auto at = FindKey(lines, *span, key)) {
      lines[*at].text = std::string(*KeyName(lines[*at])) + "=" + value;
    } else {
      // After the section's last key, so blank lines and comments that lead
      // into the next section stay with it.
      std::size_t after = span->header;
      for (std::size_t i = span->header + 1; i < span->end; ++i)
        if (KeyName(lines[i])) after = i;
      if (lines[after].end.empty()) lines[after].end = kNewLine;
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after) + 1, Line{entry, std::string(kNewLine)});
    }
  } else {
    EndWithNewLine(lines);
    if (!lines.empty() && !TrimBlanks(lines.back().text).empty()) lines.push_back(Line{"", std::string(kNewLine)});
    lines.push_back(Line{"[" + section + "]", std::string(kNewLine)});
    lines.push_back(Line{entry, std::string(kNewLine)});
  }
  const std::string text = JoinLines(lines);
  return ReplaceFileBytes(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

void LoadPieceAttributes(GameSettings& s, const std::string& path) {
  for (int t = PieceType::Army; t <= PieceType::Para; ++t) {
    const PieceTypeDefaults& d = kPieceTypeDefaults[t];
    s.days[t] = LowByte(ReadProfileInt(path, "Days", d.key, d.days));
    s.moves[t] = LowByte(ReadProfileInt(path, "Moves", d.key, d.moves));
    // Types without a fuel attribute get the lower bound; nothing reads it.
    s.fuel[t] = d.fuel == 0 ? 0 : LowByte(ReadProfileInt(path, "Fuel", d.key, d.fuel));
    s.inUse[t] = ReadProfileInt(path, "Pieces", d.key, 1) == 1 ? 1 : 0;
  }
  BoundPieceAttributes(s);
}

void LoadSetupOptions(Game& g) {
  const int32_t sounds = ReadProfileInt(g.settingsPath, "Setup", "Sounds", SoundMode::Card);
  if (sounds >= SoundMode::None && sounds <= SoundMode::Card) {
    g.app.soundMode = static_cast<uint8_t>(sounds);
    for (int mode = SoundMode::None; mode <= SoundMode::Card; ++mode)
      g.ui().CheckMenuItem(kSoundItems[mode], mode == sounds);
  }
  const int32_t colour = ReadProfileInt(g.settingsPath, "Setup", "Colour", 1);
  if (colour == 0 || colour == 1) {
    g.app.monochrome = colour == 1 ? 0 : 1;
    g.ui().CheckMenuItem(Cmd::ColourMonitor, colour == 1);
  }
}

void SaveSetupOptions(Game& g) {
  WriteProfileString(g.settingsPath, "Setup", "Sounds", std::to_string(g.app.soundMode));
  WriteProfileString(g.settingsPath, "Setup", "Colour", g.app.monochrome ? "0" : "1");
}

int32_t ProfileSettings::ReadInt(const std::string& section, const std::string& key, int32_t def) const {
  return path_.empty() ? def : ReadProfileInt(path_, section, key, def);
}

void ProfileSettings::WriteInt(const std::string& section, const std::string& key, int32_t value) {
  if (!path_.empty()) WriteProfileString(path_, section, key, std::to_string(value));
}

}  // namespace vortan

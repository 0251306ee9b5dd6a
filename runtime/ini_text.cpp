#include "runtime/ini_text.hpp"

#include <vector>

namespace mofu {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

struct Line {
  std::size_t begin;  // offset in the text of the line's first byte
  std::size_t end;    // offset of its line end ("\r\n" or "\n"), or of the text's end
  enum class Kind { kOther, kSection, kKey } kind;
  std::string_view name;  // the section's name, or the key
  std::string_view value;
};

std::vector<Line> Split(std::string_view text) {
  std::vector<Line> lines;
  std::size_t begin = text.substr(0, kBom.size()) == kBom ? kBom.size() : 0;
  while (begin < text.size()) {
    std::size_t next = text.find('\n', begin);
    if (next == std::string_view::npos) next = text.size();
    std::size_t end = next;
    if (end > begin && text[end - 1] == '\r') --end;
    Line line{begin, end, Line::Kind::kOther, {}, {}};
    const std::string_view body = Trim(text.substr(begin, end - begin));
    if (body.empty() || body.front() == '#' || body.front() == ';') {
      // a blank line or a comment
    } else if (body.front() == '[') {
      if (body.back() == ']') {
        line.kind = Line::Kind::kSection;
        line.name = Trim(body.substr(1, body.size() - 2));
      }
    } else if (const auto split = body.find_first_of("=:"); split != std::string_view::npos) {
      line.name = Trim(body.substr(0, split));
      line.value = Trim(body.substr(split + 1));
      if (!line.name.empty()) line.kind = Line::Kind::kKey;
    }
    lines.push_back(line);
    begin = next + 1;
  }
  return lines;
}

}  // namespace

std::optional<std::string> IniValue(std::string_view text, std::string_view section,
                                    std::string_view key) {
  std::optional<std::string> value;
  bool inside = false;
  for (const Line& line : Split(text)) {
    if (line.kind == Line::Kind::kSection) inside = line.name == section;
    if (inside && line.kind == Line::Kind::kKey && line.name == key)
      value = std::string(line.value);
  }
  return value;
}

std::string IniWithValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value) {
  const std::string entry = std::string(key) + "=" + std::string(value);
  const std::vector<Line> lines = Split(text);
  const Line* last_key = nullptr;      // the line whose value counts
  const Line* last_stretch = nullptr;  // the last header or key line of the section
  bool inside = false;
  for (const Line& line : lines) {
    if (line.kind == Line::Kind::kSection) inside = line.name == section;
    if (!inside || line.kind == Line::Kind::kOther) continue;
    last_stretch = &line;
    if (line.kind == Line::Kind::kKey && line.name == key) last_key = &line;
  }
  std::string out(text);
  if (last_key != nullptr) {
    return out.replace(last_key->begin, last_key->end - last_key->begin, entry);
  }
  const std::string_view eol = text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
  // A last line without its end gets one; ending in a lone CR, only the LF
  // is missing, and a whole CRLF after it would give that line a CR of its
  // own (its value would change).
  const std::string_view finish = !out.empty() && out.back() == '\r' ? "\n" : eol;
  if (last_stretch != nullptr) {
    // After the stretch's own line end, or after a new one if it has none
    // (it may end the text).
    const std::size_t line_end = text.find('\n', last_stretch->end);
    if (line_end == std::string_view::npos)
      return out + std::string(finish) + entry + std::string(eol);
    return out.insert(line_end + 1, entry + std::string(eol));
  }
  if (!out.empty() && out.back() != '\n') out += finish;
  return out + "[" + std::string(section) + "]" + std::string(eol) + entry + std::string(eol);
}

}  // namespace mofu

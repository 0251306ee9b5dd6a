#include "pixel_map_parser.h"

#include <array>
#include <charconv>
#include <iomanip>
#include <optional>
#include <sstream>
#include <string>

#include "message.h"

namespace mofu_art {
namespace {

constexpr int kNoEntry = -1;

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

// Control and non-ASCII bytes would be invisible or ambiguous in an error message.
std::string Shown(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte > ' ' && byte < 0x7f) return Message('\'', c, '\'');
  std::ostringstream out;
  out << "byte 0x" << std::hex << std::setw(2) << std::setfill('0') << static_cast<int>(byte);
  return out.str();
}

struct PaletteLine {
  char key;
  std::string_view value;
};

// "k = rrggbb": a single character, then '=' as the next non-blank character.
std::optional<PaletteLine> SplitPaletteLine(std::string_view line) {
  if (line.size() < 2) return std::nullopt;
  std::string_view rest = TrimLeft(line.substr(1));
  if (rest.empty() || rest.front() != '=') return std::nullopt;
  return PaletteLine{line.front(), TrimLeft(rest.substr(1))};
}

// The colour may be followed by a '#' note naming it, e.g. "o = 5a3a2a  # outline".
Rgb ParseColour(const PaletteLine& entry, int line_no) {
  std::string_view hex = entry.value.substr(0, entry.value.find_first_of(" \t"));
  const std::string_view note = TrimLeft(entry.value.substr(hex.size()));
  if (!hex.empty() && hex.front() == '#') hex.remove_prefix(1);
  unsigned value = 0;
  const auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), value, 16);
  if (hex.size() != 6 || ec != std::errc{} || end != hex.data() + hex.size() ||
      !(note.empty() || note.front() == '#')) {
    throw ArtError(Message("line ", line_no, ": colour for ", Shown(entry.key),
                           " must be six hex digits like f0a050, not '", entry.value, "'"));
  }
  return Rgb{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
             static_cast<std::uint8_t>(value)};
}

class Parser {
 public:
  PixelMap Run(std::string_view text) {
    int line_no = 0;
    while (!text.empty()) {
      const std::size_t eol = text.find('\n');
      const std::string_view raw = text.substr(0, eol);
      text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
      ++line_no;
      Take(TrimRight(raw), line_no);
    }
    if (map_.palette.empty()) {
      throw ArtError("no palette: expected lines like '. = 000000' before the picture");
    }
    if (map_.height == 0) {
      throw ArtError("no picture: expected rows of palette characters after the palette");
    }
    return std::move(map_);
  }

 private:
  void Take(std::string_view line, int line_no) {
    if (map_.height == 0) {
      if (line.empty() || line.front() == '#') return;
      if (const auto entry = SplitPaletteLine(line)) return AddColour(*entry, line_no);
      if (map_.palette.empty()) {
        throw ArtError(Message("line ", line_no,
                               ": expected a palette line like '. = 000000' before the picture"));
      }
    } else if (line.empty()) {
      blank_line_ = blank_line_ ? blank_line_ : line_no;
      return;
    }
    AddRow(line, line_no);
  }

  void AddColour(const PaletteLine& entry, int line_no) {
    const auto slot = static_cast<unsigned char>(entry.key);
    if (slot <= ' ' || slot >= 0x7f || entry.key == '#' || entry.key == '=') {
      throw ArtError(
          Message("line ", line_no, ": ", Shown(entry.key),
                  " cannot name a colour; use a visible character other than '#' and '='"));
    }
    if (index_of_[slot] != kNoEntry) {
      throw ArtError(Message("line ", line_no, ": ", Shown(entry.key),
                             " is defined twice in the palette (first on line ", defined_on_[slot],
                             ")"));
    }
    const Rgb colour = ParseColour(entry, line_no);
    index_of_[slot] = static_cast<int>(map_.palette.size());
    defined_on_[slot] = line_no;
    map_.palette.push_back(colour);
  }

  void AddRow(std::string_view line, int line_no) {
    if (blank_line_) {
      throw ArtError(Message("line ", blank_line_, ": blank line inside the picture"));
    }
    if (SplitPaletteLine(line) && line.find(' ') != std::string_view::npos) {
      throw ArtError(
          Message("line ", line_no, ": palette lines must come before the picture, not after"));
    }
    if (map_.height == 0) {
      map_.width = static_cast<int>(line.size());
      first_row_line_ = line_no;
    } else if (static_cast<int>(line.size()) != map_.width) {
      throw ArtError(Message("line ", line_no, ": row is ", line.size(),
                             " pixels wide, but the first row (line ", first_row_line_, ") is ",
                             map_.width));
    }
    for (std::size_t column = 0; column < line.size(); ++column) {
      const int index = index_of_[static_cast<unsigned char>(line[column])];
      if (index == kNoEntry) {
        throw ArtError(Message("line ", line_no, ", column ", column + 1, ": ", Shown(line[column]),
                               " is not in the palette"));
      }
      map_.pixels.push_back(static_cast<std::uint8_t>(index));
    }
    ++map_.height;
  }

  PixelMap map_;
  std::array<int, 256> index_of_ = MakeEmptyIndex();
  std::array<int, 256> defined_on_{};
  int first_row_line_ = 0;
  int blank_line_ = 0;

  static std::array<int, 256> MakeEmptyIndex() {
    std::array<int, 256> index;
    index.fill(kNoEntry);
    return index;
  }
};

}  // namespace

PixelMap ParsePixelMap(std::string_view text) { return Parser{}.Run(text); }

}  // namespace mofu_art

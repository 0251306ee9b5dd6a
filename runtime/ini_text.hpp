#pragma once

#include <optional>
#include <string>
#include <string_view>

// The one grammar of the settings file, for every reader and the writer:
// - a UTF-8 byte-order mark at the start is skipped; lines end in LF or CRLF;
// - blanks (spaces, tabs) around a line, a name, a key and a value are
//   dropped, and no line is too long;
// - a line starting with '#' or ';' is a comment, a blank line is nothing;
// - "[name]" starts a section; a section may come back, and then goes on;
// - "key=value" or "key: value" (whichever of '=' and ':' comes first);
// - a key given again counts with its last value;
// - any other line is ignored, never an error.
// Names and keys match exactly, case included.
namespace mofu {

// The value of `key` in `section`, or nothing when it is absent.
std::optional<std::string> IniValue(std::string_view text, std::string_view section,
                                    std::string_view key);

// `text` with `key` in `section` set to `value`, every other line kept as it
// was: the line that counts is rewritten in place, a missing key is added at
// the end of its section's last stretch, a missing section at the end of the
// text. New lines follow the text's own line ends. Neither `key` nor `value`
// may hold a line break.
std::string IniWithValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value);

}  // namespace mofu

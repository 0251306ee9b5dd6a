#pragma once

#include <string>
#include <string_view>

namespace mofu::linux_os {

// ${XDG_CONFIG_HOME:-$HOME/.config}/<app>/settings.ini. Without HOME the home
// folder comes from the password database; with no home folder at all the
// path is empty, never a place at the root.
std::string SettingsPath(std::string_view app);

// Replaces the file at `path` with `text`, making its folder (mode 0700) when
// missing. A reader sees the old text or the new, never part of either, and
// the file is on disk when this returns. The temporary file has one fixed
// name beside it, reused and removed, so a save cut short leaves nothing that
// piles up; temporary files older versions may have left are removed too.
// False when it cannot be written.
bool SaveSettingsFile(const std::string& path, std::string_view text);

}  // namespace mofu::linux_os

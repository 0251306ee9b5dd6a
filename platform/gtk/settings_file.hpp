#pragma once

#include <string>

namespace mofu::gtk {

// Sets one value in an ini-style settings file, creating the file and its
// folder when missing. The file is replaced as a whole, so a reader sees the
// old contents or the new, never half. Other groups, keys and comments stay.
// False when the file cannot be written.
bool WriteSettingValue(const std::string& path, const std::string& group, const std::string& key,
                       const std::string& value);

}  // namespace mofu::gtk

#include "settings/settings.hpp"

#include "runtime/services.hpp"

namespace mofu {

Int16 BlkWidth = 0;
Int16 SpeedLevel = 0;

Int16 ReadSetting(std::string_view key, Int16 default_value) {
  return TextToInt16(GetSetting(kSettingsApp, kSettingsSection, key, default_value));
}

void WriteSetting(std::string_view key, Int16 value) {
  SaveSetting(kSettingsApp, kSettingsSection, key, Int16ToText(value));
}

}  // namespace mofu

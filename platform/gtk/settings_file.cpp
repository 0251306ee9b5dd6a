#include "platform/gtk/settings_file.hpp"

#include <glib.h>
#include <glib/gstdio.h>

#include <memory>

namespace mofu::gtk {
namespace {

struct KeyFileFree {
  void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
struct GFree {
  void operator()(void* memory) const { g_free(memory); }
};

}  // namespace

bool WriteSettingValue(const std::string& path, const std::string& group, const std::string& key,
                       const std::string& value) {
  std::unique_ptr<char, GFree> folder(g_path_get_dirname(path.c_str()));
  if (g_mkdir_with_parents(folder.get(), 0700) != 0) return false;

  std::unique_ptr<GKeyFile, KeyFileFree> file(g_key_file_new());
  // A missing file starts empty. So does one GLib cannot parse: keeping it
  // would leave the user unable to save ever again.
  if (!g_key_file_load_from_file(file.get(), path.c_str(), G_KEY_FILE_KEEP_COMMENTS, nullptr)) {
    file.reset(g_key_file_new());
  }
  g_key_file_set_value(file.get(), group.c_str(), key.c_str(), value.c_str());

  gsize length = 0;
  std::unique_ptr<char, GFree> text(g_key_file_to_data(file.get(), &length, nullptr));
  return g_file_set_contents_full(
      path.c_str(), text.get(), static_cast<gssize>(length),
      GFileSetContentsFlags(G_FILE_SET_CONTENTS_CONSISTENT | G_FILE_SET_CONTENTS_DURABLE), 0600,
      nullptr);
}

}  // namespace mofu::gtk

#include "platform/x11/keyfile_settings.hpp"

#include <fcntl.h>
#include <glib.h>
#include <glib/gstdio.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "platform/runtime_error.hpp"

namespace mofu::x11 {
namespace {

struct KeyFileDeleter {
  void operator()(GKeyFile* f) const { g_key_file_free(f); }
};
using KeyFile = std::unique_ptr<GKeyFile, KeyFileDeleter>;

struct GFreeDeleter {
  void operator()(void* p) const { g_free(p); }
};
using GString_ = std::unique_ptr<char, GFreeDeleter>;

[[noreturn]] void WriteFailed(const std::string& why) {
  throw RuntimeError(ErrorNumber::kSettingsWrite, "Settings could not be saved: " + why);
}

// Writes the whole text to a new file beside the target, then renames it
// over the target: readers see the old file or the new one, never half.
void ReplaceFile(const std::string& path, const char* data, gsize length) {
  std::string temp = path + ".XXXXXX";
  const int fd = g_mkstemp_full(temp.data(), O_RDWR | O_CLOEXEC, 0600);
  if (fd < 0) WriteFailed(path);
  bool ok = true;
  for (gsize done = 0; ok && done < length;) {
    const ssize_t n = write(fd, data + done, length - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<gsize>(n);
  }
  ok = ok && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (!ok || g_rename(temp.c_str(), path.c_str()) != 0) {
    g_unlink(temp.c_str());
    WriteFailed(path);
  }
}

}  // namespace

std::string KeyFileSettings::PathFor(std::string_view app) {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (config != nullptr && *config != '\0') {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home != nullptr ? home : "") + "/.config";
  }
  return base + "/" + std::string(app) + "/settings.ini";
}

std::optional<std::string> KeyFileSettings::Read(std::string_view app, std::string_view section,
                                                 std::string_view key) {
  KeyFile file(g_key_file_new());
  if (!g_key_file_load_from_file(file.get(), PathFor(app).c_str(), G_KEY_FILE_NONE, nullptr)) {
    return std::nullopt;
  }
  GString_ value(g_key_file_get_string(file.get(), std::string(section).c_str(),
                                       std::string(key).c_str(), nullptr));
  if (!value) return std::nullopt;
  return std::string(value.get());
}

void KeyFileSettings::Write(std::string_view app, std::string_view section, std::string_view key,
                            std::string_view value) {
  const std::string path = PathFor(app);
  GString_ folder(g_path_get_dirname(path.c_str()));
  if (g_mkdir_with_parents(folder.get(), 0700) != 0) WriteFailed(folder.get());

  KeyFile file(g_key_file_new());
  GError* error = nullptr;
  const GKeyFileFlags keep = static_cast<GKeyFileFlags>(G_KEY_FILE_KEEP_COMMENTS);
  if (!g_key_file_load_from_file(file.get(), path.c_str(), keep, &error)) {
    // A missing file is a first run; a file we cannot understand is left
    // alone rather than overwritten with only our two keys.
    const bool missing = g_error_matches(error, G_FILE_ERROR, G_FILE_ERROR_NOENT);
    g_clear_error(&error);
    if (!missing) WriteFailed(path);
  }
  g_key_file_set_string(file.get(), std::string(section).c_str(), std::string(key).c_str(),
                        std::string(value).c_str());
  gsize length = 0;
  GString_ data(g_key_file_to_data(file.get(), &length, nullptr));
  ReplaceFile(path, data.get(), length);
}

}  // namespace mofu::x11

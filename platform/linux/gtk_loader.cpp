#include "platform/linux/gtk_loader.hpp"

#include <dlfcn.h>

namespace mofu::linux_os {

GtkLoader::~GtkLoader() {
  // GTK cannot be unloaded safely once initialised; the process is ending
  // anyway, so the module stays mapped.
}

const gtk::ModuleApi* GtkLoader::Load(const std::string& path, std::string& error) {
  if (api_ != nullptr) return api_;
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* why = dlerror();
    error = why != nullptr ? why : path;
    return nullptr;
  }
  using Entry = const gtk::ModuleApi* (*)();
  auto entry = reinterpret_cast<Entry>(dlsym(handle_, "mofu_gtk_module"));
  if (entry == nullptr) {
    error = path + ": not a Mofu Saver dialog module";
    return nullptr;
  }
  api_ = entry();
  return api_;
}

}  // namespace mofu::linux_os

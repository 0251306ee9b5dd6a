#pragma once

#include <string>

#include "platform/linux/dialog_module.hpp"

namespace mofu::linux_os {

// Loads the GTK module on first use. The saver never calls it, so its
// process maps no GTK library.
class GtkLoader {
 public:
  ~GtkLoader();
  // The module's table, or nullptr with `error` set.
  const gtk::ModuleApi* Load(const std::string& path, std::string& error);

 private:
  void* handle_ = nullptr;
  const gtk::ModuleApi* api_ = nullptr;
};

}  // namespace mofu::linux_os

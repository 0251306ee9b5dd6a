#include <gtk/gtk.h>

#include <memory>

#include "platform/gtk/dialog_window.hpp"
#include "platform/gtk/font_substitutes.hpp"
#include "platform/gtk/message_box.hpp"
#include "platform/gtk/signal_guard.hpp"
#include "platform/linux/dialog_module.hpp"

namespace mofu::gtk {
namespace {

bool Init() {
  if (!gtk_init_check(nullptr, nullptr)) return false;
  // Controls without a font of their own use the dialog font the layout was
  // made with, which also writes Japanese.
  const FontDesign font = DialogFont();
  const std::string name =
      InstalledOrSubstitute(font.name) + " " + std::to_string(static_cast<int>(font.points));
  g_object_set(gtk_settings_get_default(), "gtk-font-name", name.c_str(), nullptr);
  return true;
}

std::unique_ptr<DialogSurface> CreateDialog(const FormDesign& design, DialogInput& input,
                                            const char* icon_png) {
  return std::make_unique<DialogWindow>(design, input, icon_png);
}

constexpr ModuleApi kApi = {Init, ShowMessageBox, CreateDialog, RunEventLoop};

}  // namespace
}  // namespace mofu::gtk

extern "C" __attribute__((visibility("default"))) const mofu::gtk::ModuleApi* mofu_gtk_module() {
  return &mofu::gtk::kApi;
}

#pragma once

#include <memory>

#include "runtime/form_design.hpp"

// What the Linux program and its GTK module (lib/mofu/mofu-gtk.so) agree
// on. The module holds the settings dialog and the message box. Only the
// modes that show them load it, so the running saver never maps a GTK
// library. The host resolves one symbol and calls through this table.
namespace mofu::gtk {

struct ModuleApi {
  // Prepares GTK; false when no display can be opened.
  bool (*init)();
  // A modal message box; returns when the user has closed it.
  int (*message_box)(const char* prompt, int style, const char* title);
  // Builds the dialog from its design, hidden; `icon_png` is the program's
  // icon, shown in the window frame and in picture boxes marked for it.
  std::unique_ptr<DialogSurface> (*create_dialog)(const FormDesign& design, DialogInput& input,
                                                  const char* icon_png);
  // Dispatches events while a dialog is open. A handler that ends the
  // process (ProcessEnd) stops the dispatch, and the exception is rethrown
  // from here, never through GTK's own frames.
  void (*run_event_loop)();
};

}  // namespace mofu::gtk

extern "C" const mofu::gtk::ModuleApi* mofu_gtk_module();

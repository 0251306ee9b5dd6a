#pragma once

#include <gtk/gtk.h>

#include <string>
#include <string_view>

namespace mofu::gtk {

// The icon part of a classic message-box style (16 stop, 32 question,
// 48 exclamation, 64 information); the button part is ignored: there is
// only ever an OK button.
GtkMessageType MessageTypeFor(int style);

// Prompts break lines the Windows way; GTK wants a bare line feed.
std::string WithLineFeeds(std::string_view prompt);

// A modal message box with one OK button; returns 1, the OK answer.
int ShowMessageBox(const char* prompt, int style, const char* title);

}  // namespace mofu::gtk

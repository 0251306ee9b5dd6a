#pragma once

#include <string>

namespace mofu::linux_os {

// A folder no other user can reach: $XDG_RUNTIME_DIR, else mofu-<uid> in the
// temporary folder ($TMPDIR, else /tmp), made with mode 0700 when missing.
// Either is taken only when, once opened, it shows itself to be a folder
// (not a link to one) that this user owns with mode 0700: anyone may have
// made the name in a shared temporary folder first. Returns the folder's open
// descriptor, or -1 when there is no such place.
int OpenPrivateFolder();

}  // namespace mofu::linux_os

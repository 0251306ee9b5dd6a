#pragma once

#include <optional>

#include "platform/win32/windows_api.hpp"
#include "runtime/form_design.hpp"

namespace mofu::win32 {

// The font a control is drawn in at a DPI: the design's font, or the dialog's
// Japanese default, replaced by a look-alike that this system has.
HFONT CreateDesignFont(const std::optional<FontDesign>& design, UINT dpi);

}  // namespace mofu::win32

#pragma once

#include <pango/pango.h>

#include <functional>
#include <string>
#include <string_view>

#include "runtime/form_design.hpp"

namespace mofu::gtk {

// The dialog's fonts come from another system. A font that is installed is
// used as it is; otherwise a free font of like shape and metrics stands in.
// `installed` answers whether fontconfig knows a family.
std::string SubstituteFamily(std::string_view family,
                             const std::function<bool(std::string_view)>& installed);

// The same, asking the default Pango font map.
std::string InstalledOrSubstitute(std::string_view family);

// The designer sizes fonts in points at 96 dots per inch.
int PointsToPixels(double points);

// A font description for a designed font: family (or its stand-in), weight,
// and a pixel size, so text keeps the size the layout was made for whatever
// resolution the display claims.
PangoFontDescription* DescribeFont(const FontDesign& font);

// The font that controls without one of their own use: the system dialog
// font the layout was made with.
FontDesign DialogFont();

}  // namespace mofu::gtk

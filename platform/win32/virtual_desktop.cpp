#include "platform/win32/virtual_desktop.hpp"

#include "platform/win32/windows_api.hpp"

namespace mofu::win32 {

const DesktopArea& VirtualDesktop::Area() {
  if (!read_) Reread();
  return area_;
}

void VirtualDesktop::Reread() {
  area_ = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
           GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  // Only a system too old or too broken to know its monitors says nothing:
  // the primary screen is then the best there is.
  if (area_.width <= 0 || area_.height <= 0) {
    area_ = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  read_ = true;
}

}  // namespace mofu::win32

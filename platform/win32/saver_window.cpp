#include "platform/win32/saver_window.hpp"

#include <stdexcept>

#include "platform/win32/pending_exception.hpp"
#include "platform/win32/resource_ids.h"

namespace mofu::win32 {
namespace {

constexpr wchar_t kClassName[] = L"MofuSaverSky";

void RegisterSkyClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  // One device context for the window's life: Blit runs thousands of times
  // a second and need not fetch one each time.
  window_class.style = CS_OWNDC;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_MOFU));
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  window_class.lpszClassName = kClassName;
  RegisterClassExW(&window_class);
}

// Shift state as the key handlers expect it: 1 shift, 2 control, 4 alt.
std::int16_t ShiftState() {
  std::int16_t shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= 1;
  if (GetKeyState(VK_CONTROL) < 0) shift |= 2;
  if (GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

// The character a key types, found from the key itself rather than from a
// later WM_CHAR, so each key reaches the program exactly once.
std::int16_t CharacterOf(WPARAM virtual_key, LPARAM key_data) {
  BYTE keyboard[256];
  if (!GetKeyboardState(keyboard)) return 0;
  wchar_t typed[4];
  const UINT scan_code = (static_cast<UINT>(key_data) >> 16) & 0xFF;
  const int count = ToUnicode(static_cast<UINT>(virtual_key), scan_code, keyboard, typed, 4, 0);
  return count == 1 ? static_cast<std::int16_t>(typed[0]) : 0;
}

}  // namespace

SaverWindow::SaverWindow(HINSTANCE instance, VirtualDesktop& desktop) : desktop_(desktop) {
  QueryPerformanceFrequency(&counter_frequency_);
  RegisterSkyClass(instance, &SaverWindow::WindowProc);
  const DesktopArea& area = desktop_.Area();
  window_ = CreateWindowExW(0, kClassName, L"Mofu Saver", WS_POPUP, area.left, area.top, area.width,
                            area.height, nullptr, nullptr, instance, this);
  if (window_ == nullptr) throw std::runtime_error("The saver window could not be created");
  dc_ = GetDC(window_);
}

SaverWindow::~SaverWindow() {
  input_ = nullptr;
  DestroyWindow(window_);
}

void SaverWindow::Show() {
  Cover();
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  SetFocus(window_);
}

void SaverWindow::Hide() { ShowWindow(window_, SW_HIDE); }

void SaverWindow::KeepOnTop() {
  ::SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// The primary display's current mode. A frequency of 0 or 1 stands for the
// hardware's default, which says nothing of the rate.
std::int64_t SaverWindow::RefreshMicros() {
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return 0;
  if (mode.dmDisplayFrequency <= 1) return 0;
  return (1'000'000 + mode.dmDisplayFrequency / 2) / mode.dmDisplayFrequency;
}

// Windows keeps its own display count; the runtime keeps the program's and
// asks only when the pointer is to change.
void SaverWindow::SetPointerHidden(bool hidden) { ::ShowCursor(hidden ? FALSE : TRUE); }

// The runtime's pixels are 0x00RRGGBB rows, which is exactly a top-down
// 32-bit DIB.
void SaverWindow::Blit(const Rect& rect, const std::uint32_t* pixels, int stride) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = stride;
  info.bmiHeader.biHeight = -rect.Height();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  StretchDIBits(dc_, rect.left, rect.top, rect.Width(), rect.Height(), 0, 0, rect.Width(),
                rect.Height(), pixels, &info, DIB_RGB_COLORS, SRCCOPY);
}

void SaverWindow::Flush() { GdiFlush(); }

void SaverWindow::PumpEvents(SkyInput& input, std::int64_t now_micros) {
  if (!peeks_.PeekNow(now_micros)) return;
  input_ = &input;
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    DispatchMessageW(&message);
    RethrowPendingException();
  }
  if (display_changed_) {
    display_changed_ = false;
    FitDesktop();
    input.Resized();
  }
  input_ = nullptr;
}

// A monitor came or went, or changed its mode: cover what there is now.
void SaverWindow::FitDesktop() {
  desktop_.Reread();
  Cover();
}

void SaverWindow::Cover() {
  const DesktopArea& area = desktop_.Area();
  SetWindowPos(window_, nullptr, area.left, area.top, area.width, area.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

std::int64_t SaverWindow::NowMicros() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const std::int64_t frequency = counter_frequency_.QuadPart;
  return now.QuadPart / frequency * 1'000'000 + now.QuadPart % frequency * 1'000'000 / frequency;
}

// A message already waiting ends the wait at once (MWMO_INPUTAVAILABLE), so
// the queue needs no look of its own first; each is a server call under Wine.
// A message the last wait found stays unread until the next pass: a long
// delay asks for a wait at each of its thousands of chunks, and asking the
// system each time again would hold the input back for seconds under Wine.
bool SaverWindow::WaitForInput(std::int64_t deadline_micros) {
  if (peeks_.InputWaiting()) return true;
  const std::int64_t remaining = deadline_micros - NowMicros();
  if (remaining <= 0) return false;
  const bool input = wake_timer_.WaitForMessage(remaining);
  // A message ends the wait, and the next pass looks at it; a wait that
  // nothing cut short leaves nothing to read.
  if (input) {
    peeks_.MarkInputWaiting();
  } else {
    peeks_.MarkQueueRead();
  }
  return input;
}

LRESULT CALLBACK SaverWindow::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<SaverWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr && message == WM_DISPLAYCHANGE) self->display_changed_ = true;
  if (self == nullptr || self->input_ == nullptr) {
    if (message == WM_PAINT) ValidateRect(window, nullptr);
    return DefWindowProcW(window, message, wparam, lparam);
  }
  LRESULT result = 0;
  RunGuarded([&] { result = self->OnMessage(message, wparam, lparam); });
  return result;
}

LRESULT SaverWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  const double x = GET_X_LPARAM(lparam);
  const double y = GET_Y_LPARAM(lparam);
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_MOUSEMOVE:
      input_->PointerReport(x, y);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      input_->ButtonDown(x, y);
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      input_->ButtonUp(x, y);
      return 0;
    case WM_XBUTTONDOWN:
      input_->ButtonDown(x, y);
      return TRUE;
    case WM_XBUTTONUP:
      input_->ButtonUp(x, y);
      return TRUE;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      OnWheel(lparam);
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      input_->KeyDown(static_cast<std::int16_t>(wparam), ShiftState(), CharacterOf(wparam, lparam));
      return 0;
    case WM_SYSKEYUP:
      // Kept from DefWindowProc so Alt or F10 never opens the system menu.
      return 0;
    case WM_SYSCOMMAND:
      // The saver is running already: Windows need not start it again.
      if ((wparam & 0xFFF0) == SC_SCREENSAVE) return 0;
      return DefWindowProcW(window_, message, wparam, lparam);
    case WM_CLOSE:
      input_->CloseRequested();
      return 0;
    case WM_ENDSESSION:
      if (wparam) input_->CloseRequested();
      return 0;
    default:
      return DefWindowProcW(window_, message, wparam, lparam);
  }
}

// Every button counts as a click, the wheel's included, as X reports its
// turns as presses of buttons of their own: one rule on both systems. The
// wheel's position is on the screen, not in the window.
void SaverWindow::OnWheel(LPARAM lparam) {
  POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  ScreenToClient(window_, &at);
  input_->ButtonDown(at.x, at.y);
  input_->ButtonUp(at.x, at.y);
}

void SaverWindow::OnPaint() {
  PAINTSTRUCT paint;
  BeginPaint(window_, &paint);
  const RECT& lost = paint.rcPaint;
  EndPaint(window_, &paint);
  input_->Exposed({lost.left, lost.top, lost.right, lost.bottom});
}

}  // namespace mofu::win32

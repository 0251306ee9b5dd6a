#include "platform/win32/dialog_window.hpp"

#include <algorithm>
#include <stdexcept>

#include "platform/win32/dialog_fonts.hpp"
#include "platform/win32/dpi.hpp"
#include "platform/win32/group_box.hpp"
#include "platform/win32/pending_exception.hpp"
#include "platform/win32/resource_ids.h"
#include "platform/win32/wide_text.hpp"

namespace mofu::win32 {
namespace {

constexpr wchar_t kClassName[] = L"MofuSaverDialog";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_APPWINDOW;
// Clear of IDOK and IDCANCEL, which the dialog manager sends for Enter and
// Escape whatever control has the focus.
constexpr int kFirstControlId = 100;

void RegisterDialogClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  // A dialog class of our own, so the dialog manager's keyboard handling
  // (Tab, arrows within a group) works on a window built in code.
  window_class.cbWndExtra = DLGWINDOWEXTRA;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_MOFU));
  window_class.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_MOFU),
                                                       IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                       GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kClassName;
  RegisterClassExW(&window_class);
}

struct WindowKind {
  const wchar_t* class_name;
  DWORD style;
};

WindowKind KindOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::kCommandButton:
      // Not BS_DEFPUSHBUTTON: the form has no default button.
      return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP};
    case ControlKind::kFrame:
      return {L"BUTTON", BS_GROUPBOX};
    case ControlKind::kOptionButton:
      return {L"BUTTON", BS_AUTORADIOBUTTON};
    case ControlKind::kPictureBox:
      // A tab stop of its own, as in the designer, though it shows no mark
      // of having the focus.
      return {L"STATIC", SS_OWNERDRAW | WS_TABSTOP};
    case ControlKind::kLabel:
      break;
  }
  // Every label of a design is one line. Where a stand-in font runs wider,
  // the end is clipped rather than wrapped onto a line nobody can see.
  return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX};
}

// Labels and frames are backdrop: they never take the focus or the arrow
// keys, and what stands on them is drawn over them, as in the designer.
bool IsBackdrop(ControlKind kind) {
  return kind == ControlKind::kLabel || kind == ControlKind::kFrame;
}

}  // namespace

DialogWindow::DialogWindow(HINSTANCE instance, const FormDesign& design, DialogInput& input,
                           HWND owner)
    : owner_(owner),
      input_(input),
      client_width_(design.client_width),
      client_height_(design.client_height) {
  INITCOMMONCONTROLSEX common{sizeof common, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&common);
  RegisterDialogClass(instance, &DialogWindow::WindowProc);
  icon_ = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_MOFU), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));

  for (const ControlDesign& control : design.controls) {
    controls_.push_back({control, control.left, control.top});
  }
  for (Control& control : controls_) {
    if (control.design.container.empty()) continue;
    const Control& frame = Find(ControlId{control.design.container});
    control.left += frame.left;
    control.top += frame.top;
  }

  // Created on the primary monitor, so its DPI is the one the dialog opens on.
  window_ = CreateWindowExW(kExStyle, kClassName, Widen(design.caption).c_str(), kStyle, 0, 0, 0, 0,
                            owner_, nullptr, instance, this);
  if (window_ == nullptr) throw std::runtime_error("The dialog could not be created");
  // An owner that was disabled already is someone else's to enable again.
  if (owner_ != nullptr) owner_disabled_ = !EnableWindow(owner_, FALSE);
  CreateControls(instance);
  Layout(WindowDpi(window_), nullptr);
}

// The owner comes back before the dialog goes, so Windows hands it the
// activation rather than some unrelated window.
DialogWindow::~DialogWindow() {
  if (owner_disabled_) EnableWindow(owner_, TRUE);
  DestroyWindow(window_);
  for (const Control& control : controls_) DeleteObject(control.font);
  DestroyIcon(icon_);
}

// Created in tab order: the dialog manager's tab order is the windows' order.
void DialogWindow::CreateControls(HINSTANCE instance) {
  const std::string* previous_container = nullptr;
  int id = kFirstControlId;
  for (Control& control : controls_) {
    const ControlKind kind = control.design.kind;
    const auto [class_name, kind_style] = KindOf(kind);
    DWORD style = WS_CHILD | WS_VISIBLE | kind_style;
    // The radio buttons of one frame are one group, so the arrow keys stay
    // inside it; the backdrop belongs to no group.
    if (IsBackdrop(kind)) {
      style |= WS_GROUP;
    } else {
      if (previous_container == nullptr || *previous_container != control.design.container) {
        style |= WS_GROUP;
      }
      previous_container = &control.design.container;
    }
    control.window =
        CreateWindowExW(0, class_name, Widen(control.design.caption).c_str(), style, 0, 0, 0, 0,
                        window_, reinterpret_cast<HMENU>(INT_PTR{id++}), instance, nullptr);
    if (kind == ControlKind::kFrame && control.design.fore_colour) {
      PaintGroupBoxClassically(control.window);
    }
    if (kind == ControlKind::kOptionButton && control.design.value) {
      SendMessageW(control.window, BM_SETCHECK, BST_CHECKED, 0);
    }
  }
  // Beneath everything else the labels, then the frames: out of the way of
  // the arrow keys, which move through neighbours in this order.
  for (ControlKind backdrop : {ControlKind::kLabel, ControlKind::kFrame}) {
    for (const Control& control : controls_) {
      if (control.design.kind != backdrop) continue;
      SetWindowPos(control.window, HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  for (const Control& control : controls_) {
    if (control.design.kind == ControlKind::kFrame) MoveTabStop(control.design.name);
  }
}

void DialogWindow::Layout(UINT dpi, const RECT* suggested) {
  for (Control& control : controls_) {
    const ControlDesign& d = control.design;
    SetWindowPos(control.window, nullptr, TwipsToPixels(control.left, dpi),
                 TwipsToPixels(control.top, dpi), TwipsToPixels(d.width, dpi),
                 TwipsToPixels(d.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    HFONT old_font = control.font;
    control.font = CreateDesignFont(d.font, dpi);
    SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(control.font), TRUE);
    if (old_font != nullptr) DeleteObject(old_font);
  }
  const RECT outer = WindowRectForClient(TwipsToPixels(client_width_, dpi),
                                         TwipsToPixels(client_height_, dpi), kStyle, kExStyle, dpi);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  if (suggested != nullptr) {
    x = suggested->left;
    y = suggested->top;
  }
  SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void DialogWindow::Show() {
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  // The lowest tab index takes the focus, so Enter at once presses OK.
  HWND first = GetNextDlgTabItem(window_, nullptr, FALSE);
  SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
}

void DialogWindow::Hide() { ShowWindow(window_, SW_HIDE); }

bool DialogWindow::OptionValue(const ControlId& option) {
  return SendMessageW(Find(option).window, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void DialogWindow::SelectOption(const ControlId& option) {
  const Control& selected = Find(option);
  for (const Control& control : controls_) {
    if (control.design.kind != ControlKind::kOptionButton ||
        control.design.container != selected.design.container) {
      continue;
    }
    const WPARAM state = &control == &selected ? BST_CHECKED : BST_UNCHECKED;
    SendMessageW(control.window, BM_SETCHECK, state, 0);
  }
  MoveTabStop(selected.design.container);
}

// Tab enters a group of option buttons at its selected one.
void DialogWindow::MoveTabStop(const std::string& container) {
  HWND stop = nullptr;
  for (const Control& control : controls_) {
    if (control.design.kind != ControlKind::kOptionButton ||
        control.design.container != container) {
      continue;
    }
    if (stop == nullptr || SendMessageW(control.window, BM_GETCHECK, 0, 0) == BST_CHECKED) {
      stop = control.window;
    }
  }
  for (const Control& control : controls_) {
    if (control.design.kind != ControlKind::kOptionButton ||
        control.design.container != container) {
      continue;
    }
    LONG_PTR style = GetWindowLongPtrW(control.window, GWL_STYLE);
    style = control.window == stop ? style | WS_TABSTOP : style & ~LONG_PTR{WS_TABSTOP};
    SetWindowLongPtrW(control.window, GWL_STYLE, style);
  }
}

DialogWindow::Control& DialogWindow::Find(const ControlId& id) {
  auto it = std::find_if(controls_.begin(), controls_.end(), [&](const Control& control) {
    return control.design.name == id.name && control.design.index == id.index;
  });
  if (it == controls_.end()) throw std::logic_error("No such control: " + id.name);
  return *it;
}

DialogWindow::Control* DialogWindow::Find(HWND window) {
  auto it = std::find_if(controls_.begin(), controls_.end(),
                         [&](const Control& control) { return control.window == window; });
  return it == controls_.end() ? nullptr : &*it;
}

LRESULT CALLBACK DialogWindow::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr || self->window_ == nullptr) {
    return DefDlgProcW(window, message, wparam, lparam);
  }
  LRESULT result = 0;
  RunGuarded([&] { result = self->OnMessage(message, wparam, lparam); });
  return result;
}

LRESULT DialogWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case DM_GETDEFID:
      // No default button: Enter presses only the push button that has the
      // focus (see OnCommand).
      return 0;
    case WM_CTLCOLORSTATIC:
      return OnControlColour(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam), wparam,
                             lparam);
    case WM_DRAWITEM:
      DrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
      return TRUE;
    case WM_DPICHANGED:
      Layout(HIWORD(wparam), reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_CLOSE:
      input_.CloseRequested();
      return 0;
    case WM_ENDSESSION:
      if (wparam) input_.CloseRequested();
      return 0;
    default:
      return DefDlgProcW(window_, message, wparam, lparam);
  }
}

// The dialog manager turns Enter into IDOK and Escape into IDCANCEL. Enter
// counts only as a press of a focused push button; Escape does nothing.
void DialogWindow::OnCommand(int id, int code) {
  if (id == IDOK) {
    const Control* focused = Find(GetFocus());
    if (focused != nullptr && focused->design.kind == ControlKind::kCommandButton) {
      input_.Clicked({focused->design.name, focused->design.index});
    }
    return;
  }
  if (id == IDCANCEL || code != BN_CLICKED) return;
  const std::size_t index = static_cast<std::size_t>(id - kFirstControlId);
  if (id < kFirstControlId || index >= controls_.size()) return;
  const Control& control = controls_[index];
  if (control.design.kind == ControlKind::kOptionButton) MoveTabStop(control.design.container);
  input_.Clicked({control.design.name, control.design.index});
}

LRESULT DialogWindow::OnControlColour(HDC dc, HWND window, WPARAM wparam, LPARAM lparam) {
  const Control* control = Find(window);
  if (control == nullptr) return DefDlgProcW(window_, WM_CTLCOLORSTATIC, wparam, lparam);
  const bool label = control->design.kind == ControlKind::kLabel;
  if (!label && !control->design.fore_colour) {
    return DefDlgProcW(window_, WM_CTLCOLORSTATIC, wparam, lparam);
  }
  // A design colour is 0x00BBGGRR, the layout of a COLORREF.
  SetTextColor(dc, control->design.fore_colour.value_or(GetSysColor(COLOR_BTNTEXT)));
  SetBkMode(dc, TRANSPARENT);
  // Labels let the dialog show through, so where the design overlaps two
  // of them neither blots out the other's text.
  if (label) {
    KeepOffControlsAbove(dc, *control);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  }
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

// A control standing on a label hides it where they overlap: the label's
// drawing, which begins right after this, is kept off that control.
void DialogWindow::KeepOffControlsAbove(HDC dc, const Control& label) const {
  RECT label_rect;
  GetWindowRect(label.window, &label_rect);
  for (const Control& other : controls_) {
    if (IsBackdrop(other.design.kind)) continue;
    RECT other_rect;
    RECT overlap;
    GetWindowRect(other.window, &other_rect);
    if (!IntersectRect(&overlap, &other_rect, &label_rect)) continue;
    OffsetRect(&overlap, -label_rect.left, -label_rect.top);
    ExcludeClipRect(dc, overlap.left, overlap.top, overlap.right, overlap.bottom);
  }
}

// The picture box: the program's icon on black, filling the box.
void DialogWindow::DrawPicture(const DRAWITEMSTRUCT& item) const {
  const Control* control = nullptr;
  for (const Control& c : controls_) {
    if (c.window == item.hwndItem) control = &c;
  }
  if (control == nullptr) return;
  const COLORREF back = control->design.back_colour.value_or(RGB(0, 0, 0));
  HBRUSH brush = CreateSolidBrush(back);
  FillRect(item.hDC, &item.rcItem, brush);
  DeleteObject(brush);
  if (control->design.shows_icon) {
    DrawIconEx(item.hDC, item.rcItem.left, item.rcItem.top, icon_,
               item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top, 0,
               nullptr, DI_NORMAL);
  }
}

}  // namespace mofu::win32

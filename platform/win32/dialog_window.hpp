#pragma once

#include <string>
#include <vector>

#include "platform/win32/windows_api.hpp"
#include "runtime/form_design.hpp"

namespace mofu::win32 {

// A form's dialog made of Win32 controls, laid out from its design at the
// DPI of the monitor it is on. Frames are drawn as group boxes; since those
// are not containers in Win32, a frame's controls are placed on the dialog
// at the frame's offset, and their radio group is the frame. Given an owner,
// it keeps that window disabled while it is open, as a modal dialog does.
class DialogWindow final : public DialogSurface {
 public:
  DialogWindow(HINSTANCE instance, const FormDesign& design, DialogInput& input, HWND owner);
  ~DialogWindow() override;
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  HWND Window() const { return window_; }

  void Show() override;
  void Hide() override;
  bool OptionValue(const ControlId& option) override;
  void SelectOption(const ControlId& option) override;

 private:
  struct Control {
    ControlDesign design;
    int left = 0;  // twips from the dialog's client area, frames undone
    int top = 0;
    HWND window = nullptr;
    HFONT font = nullptr;
  };

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void CreateControls(HINSTANCE instance);
  void Layout(UINT dpi, const RECT* suggested);
  void OnCommand(int id, int code);
  LRESULT OnControlColour(HDC dc, HWND control, WPARAM wparam, LPARAM lparam);
  void KeepOffControlsAbove(HDC dc, const Control& label) const;
  void DrawPicture(const DRAWITEMSTRUCT& item) const;
  void MoveTabStop(const std::string& container);
  Control& Find(const ControlId& id);
  Control* Find(HWND window);

  HWND window_ = nullptr;
  HWND owner_;
  bool owner_disabled_ = false;
  HICON icon_ = nullptr;
  DialogInput& input_;
  int client_width_;   // twips
  int client_height_;  // twips
  std::vector<Control> controls_;
};

}  // namespace mofu::win32

#include "platform/win32/group_box.hpp"

#include <string>

#include "platform/win32/dpi.hpp"

namespace mofu::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 1;
// Where the caption starts, from the box's left edge, at 96 DPI.
constexpr int kCaptionInset = 8;
constexpr UINT kTextFormat = DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP;

void Paint(HWND box, HDC dc) {
  const auto font = reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0));
  const HGDIOBJ old_font = font != nullptr ? SelectObject(dc, font) : nullptr;
  // The parent sets the caption colour on the DC and hands back its brush.
  auto background = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(box), WM_CTLCOLORSTATIC,
                                                          reinterpret_cast<WPARAM>(dc),
                                                          reinterpret_cast<LPARAM>(box)));
  if (background == nullptr) background = GetSysColorBrush(COLOR_BTNFACE);

  RECT client;
  GetClientRect(box, &client);
  TEXTMETRICW metrics;
  GetTextMetricsW(dc, &metrics);
  RECT edge = client;
  edge.top += metrics.tmHeight / 2;
  DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);

  std::wstring caption(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
  caption.resize(static_cast<std::size_t>(
      GetWindowTextW(box, caption.data(), static_cast<int>(caption.size()))));
  if (!caption.empty()) {
    const int inset = MulDiv(kCaptionInset, static_cast<int>(WindowDpi(box)), 96);
    RECT label{client.left + inset, client.top, client.right - inset,
               client.top + metrics.tmHeight};
    DrawTextW(dc, caption.c_str(), -1, &label, kTextFormat | DT_CALCRECT);
    RECT gap = label;
    InflateRect(&gap, 2, 0);
    FillRect(dc, &gap, background);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, caption.c_str(), -1, &label, kTextFormat);
  }
  if (old_font != nullptr) SelectObject(dc, old_font);
}

LRESULT CALLBACK GroupBoxProc(HWND box, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                              DWORD_PTR) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(box, &paint);
      Paint(box, dc);
      EndPaint(box, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(box, reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_SETTEXT:
    case WM_ENABLE: {
      // The button would paint itself at once, themed; repaint ours instead.
      const LRESULT result = DefSubclassProc(box, message, wparam, lparam);
      InvalidateRect(box, nullptr, TRUE);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(box, &GroupBoxProc, kSubclassId);
      break;
  }
  return DefSubclassProc(box, message, wparam, lparam);
}

}  // namespace

void PaintGroupBoxClassically(HWND box) {
  SetWindowSubclass(box, &GroupBoxProc, kSubclassId, 0);
  InvalidateRect(box, nullptr, TRUE);
}

}  // namespace mofu::win32

/* Watches which control of the settings dialog holds the keyboard focus.
 * Usage: focus_probe SECONDS
 * Prints a line "ID CLASS" each time the focus moves to another of its
 * controls (the first line is where it starts), until SECONDS have passed. Ends with
 * status 2 if the dialog never opens. The focus belongs to the dialog's
 * thread, so it is read from there rather than asked of this one. */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

static const wchar_t kDialogTitle[] = L"\u8a2d\u5b9a";

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  const DWORD end = GetTickCount() + (DWORD)(_wtof(argv[1]) * 1000);
  HWND dialog = NULL;
  while (dialog == NULL && GetTickCount() < end) {
    dialog = FindWindowW(NULL, kDialogTitle);
    if (dialog == NULL) Sleep(50);
  }
  if (dialog == NULL) return 2;
  const DWORD thread = GetWindowThreadProcessId(dialog, NULL);
  HWND last = NULL;
  while (GetTickCount() < end) {
    GUITHREADINFO info;
    info.cbSize = sizeof info;
    /* Only the dialog's controls: while it opens, the dialog itself may
     * hold the focus for a moment. */
    if (GetGUIThreadInfo(thread, &info) && info.hwndFocus != NULL && info.hwndFocus != last &&
        GetParent(info.hwndFocus) == dialog) {
      last = info.hwndFocus;
      wchar_t class_name[64] = L"";
      GetClassNameW(last, class_name, 64);
      printf("%d %ls\n", GetDlgCtrlID(last), class_name);
      fflush(stdout);
    }
    Sleep(20);
  }
  return 0;
}

/* Plays the screen-saver settings page: opens a window of its own, starts
 * the saver as "/c:HWND" on it and watches the dialog.
 * Usage: config_parent PATH-TO-SCR
 * Closes the dialog itself after a second and a half. Prints, one per line:
 *   owner parent|other           the dialog's owner, once it is open
 *   disabled_while_open 1|0      the window stayed disabled while it was open
 *   centred 1|0                  the dialog sits in the middle of the screen
 *   enabled_after 1|0            the window is enabled again afterwards
 *   exit N                       the saver's exit status
 * and ends with status 2 if the dialog never opens or never closes. */
#include <stdio.h>
#include <wchar.h>
#include <windows.h>

static const wchar_t kDialogTitle[] = L"\u8a2d\u5b9a";

/* The saver's EnableWindow sends this window a message: keep answering. */
static void Pump(DWORD milliseconds) {
  MsgWaitForMultipleObjects(0, NULL, FALSE, milliseconds, QS_ALLINPUT);
  MSG message;
  while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  HINSTANCE instance = GetModuleHandleW(NULL);
  WNDCLASSW window_class = {
      .lpfnWndProc = DefWindowProcW, .hInstance = instance, .lpszClassName = L"MofuTestParent"};
  RegisterClassW(&window_class);
  /* Away from the middle, so a dialog placed on its owner would show. */
  HWND parent = CreateWindowW(L"MofuTestParent", L"Mofu Test Parent", WS_OVERLAPPEDWINDOW, 10, 10,
                              300, 200, NULL, NULL, instance, NULL);
  ShowWindow(parent, SW_SHOW);
  Pump(200);

  wchar_t command[MAX_PATH + 64];
  swprintf(command, MAX_PATH + 64, L"\"%ls\" /c:%lu", argv[1], (unsigned long)(ULONG_PTR)parent);
  STARTUPINFOW startup = {.cb = sizeof startup};
  PROCESS_INFORMATION process;
  if (!CreateProcessW(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
    return 2;

  HWND dialog = NULL;
  for (int i = 0; i < 300 && dialog == NULL; ++i) {
    Pump(50);
    HWND found = FindWindowW(NULL, kDialogTitle);
    if (found != NULL && IsWindowVisible(found)) dialog = found;
  }
  if (dialog == NULL) return TerminateProcess(process.hProcess, 1), 2;
  printf("owner %s\n", GetWindow(dialog, GW_OWNER) == parent ? "parent" : "other");
  RECT box;
  GetWindowRect(dialog, &box);
  const int dx = (box.left + box.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2;
  const int dy = (box.top + box.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2;
  printf("centred %d\n", dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2);
  fflush(stdout);

  /* A while with the dialog open: the window must stay disabled all along.
   * Then the dialog is closed as its frame's close box would. */
  int enabled_samples = 0;
  for (int i = 0; i < 30; ++i) {
    if (IsWindowEnabled(parent)) ++enabled_samples;
    Pump(50);
  }
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  DWORD waited = WAIT_TIMEOUT;
  for (int i = 0; i < 300 && waited != WAIT_OBJECT_0; ++i) {
    Pump(50);
    waited = WaitForSingleObject(process.hProcess, 0);
  }
  if (waited != WAIT_OBJECT_0) return TerminateProcess(process.hProcess, 1), 2;
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  printf("disabled_while_open %d\n", enabled_samples == 0);
  printf("enabled_after %d\n", IsWindowEnabled(parent) ? 1 : 0);
  printf("exit %lu\n", status);
  return 0;
}

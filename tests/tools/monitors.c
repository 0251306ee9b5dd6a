/* Prints what Wine tells a program about its monitors: their count, then the
 * rectangle that holds them all (left top width height). Given a width and
 * a height, first switches the display to that mode, as a game would.
 * Usage: monitors [WIDTH HEIGHT] */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

int main(int argc, char** argv) {
  if (argc == 3) {
    DEVMODEA mode;
    ZeroMemory(&mode, sizeof mode);
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = (DWORD)atoi(argv[1]);
    mode.dmPelsHeight = (DWORD)atoi(argv[2]);
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    if (ChangeDisplaySettingsA(&mode, 0) != DISP_CHANGE_SUCCESSFUL) return 1;
  }
  printf("%d %d %d %d %d\n", GetSystemMetrics(SM_CMONITORS), GetSystemMetrics(SM_XVIRTUALSCREEN),
         GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN),
         GetSystemMetrics(SM_CYVIRTUALSCREEN));
  return 0;
}

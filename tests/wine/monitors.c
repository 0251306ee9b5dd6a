/* Prints what Wine tells a program about its monitors: their count, then the
 * rectangle that holds them all (left top width height). */
#include <stdio.h>
#include <windows.h>

int main(void) {
  printf("%d %d %d %d %d\n", GetSystemMetrics(SM_CMONITORS), GetSystemMetrics(SM_XVIRTUALSCREEN),
         GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN),
         GetSystemMetrics(SM_CYVIRTUALSCREEN));
  return 0;
}

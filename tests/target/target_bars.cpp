// The test target's "/bars" contents.
#include <windows.h>
#include <commctrl.h>

void FillWithBars(HWND w) {}

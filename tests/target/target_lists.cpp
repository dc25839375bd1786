// The test target's "/lists" contents.
#include <windows.h>
#include <commctrl.h>

void FillWithLists(HWND w) {}

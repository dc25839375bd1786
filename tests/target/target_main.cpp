// A plain resizable window for the tests: its place and size come from the command line,
// "testtarget.exe [left top width height [title]]".
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(h, m, w, l);
}

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    int x = 100, y = 100, w = 400, h = 300;
    std::wstring title = L"Plumbo test target";
    if (argc >= 5) {
        x = _wtoi(argv[1]);
        y = _wtoi(argv[2]);
        w = _wtoi(argv[3]);
        h = _wtoi(argv[4]);
    }
    if (argc >= 6) title = argv[5];
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"PlumboTestTarget";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, x, y, w, h, nullptr,
                                nullptr, inst, nullptr);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

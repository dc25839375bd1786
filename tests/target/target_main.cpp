// A plain resizable window for the tests: its place and size come from the command line,
// "testtarget.exe [left top width height [title] [switches]]". Switches: "/controls" fills it
// with the standard controls, frames and MDI windows the older drawers know; "/lists" with the
// common item lists (tabs, list views, headers, tree views) and "/bars" with the bars and the
// small common controls, all filled with items; "/buttons" with every button type in each of its
// states; "/canvas" paints a form with no child windows and tells it through its own
// IAccessible, "/stall" one that answers 3 s late halfway; "/many N" N accessible push buttons;
// "/ownerdrawn" shows a list box whose rows it paints itself; "/toolkit" the controls of the
// toolkits under their own names, "/ownframe" a window that paints its own title bar (both in
// target_toolkit.cpp); "/color C" paints the client area in COLORREF C, so a test can tell the
// window from a ruler on the screen; "/slowfocus MS" makes each activation take that long before
// the window gets the keyboard focus, as a busy program does; the window's property
// "Activations" counts them. "/bands" paints grey bands 10 px wide from x 10 of the client area,
// 41, 40, 31, 30, 6 and 1 apart in each channel from black, which fills x 70 to 89, then the same
// again the other way, and white beyond.
#include "shown_texts.h"

#include <commctrl.h>
#include <shellapi.h>

void FillWithControls(HWND w);
void FillWithLists(HWND w);
void FillWithBars(HWND w);
void FillWithButtons(HWND w);
void FillWithCanvas(HWND w);
void FillWithOwnerDrawnList(HWND w);
void FillWithToolkitControls(HWND w);
void FillWithOwnFrame(HWND w);

static int slowFocusMs = 0;

// Each switch that fills the window, with its filler; "/stall" and "/many" are the canvas's own.
const std::pair<const wchar_t*, void (*)(HWND)> kFillers[] = {
    {L"/controls", FillWithControls}, {L"/lists", FillWithLists}, {L"/bars", FillWithBars},
    {L"/buttons", FillWithButtons}, {L"/canvas", FillWithCanvas}, {L"/stall", FillWithCanvas},
    {L"/many", FillWithCanvas}, {L"/ownerdrawn", FillWithOwnerDrawnList}, {L"/ownframe", FillWithOwnFrame},
    {L"/toolkit", FillWithToolkitControls},
};

HBRUSH Bands() {
    static UINT row[512];
    const int ladder[] = {41, 40, 31, 30, 6, 1, 0, 0, 1, 6, 30, 31, 40, 41};
    for (int x = 0; x < 512; ++x) row[x] = 0x010101u * (x >= 10 && x < 150 ? ladder[(x - 10) / 10] : 255);
    return CreatePatternBrush(CreateBitmap(512, 1, 1, 32, row));
}

// Named: a lambda has no calling convention, and a 32-bit build's window procedures are stdcall.
LRESULT CALLBACK TargetProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_DESTROY) PostQuitMessage(0);
    if (m != WM_ACTIVATE || LOWORD(w) == WA_INACTIVE) return DefWindowProcW(h, m, w, l);
    if (slowFocusMs) Sleep(slowFocusMs);
    const LRESULT r = DefWindowProcW(h, m, w, l);
    // Counted once the focus is set, for a test to wait on.
    SetPropW(h, L"Activations", reinterpret_cast<HANDLE>(reinterpret_cast<INT_PTR>(GetPropW(h, L"Activations")) + 1));
    return r;
}

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    auto place = [&](int i, int otherwise) { return argc >= 5 ? std::stoi(argv[i]) : otherwise; };
    const std::wstring title = argc >= 6 ? argv[5] : L"Plumbo test target";
    void (*fill)(HWND) = nullptr;
    HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    for (int i = 6; i < argc; ++i) {
        const std::wstring a = argv[i];
        for (auto [name, filler] : kFillers)
            if (a == name) fill = filler;
        if (a == L"/slowfocus" && i + 1 < argc) slowFocusMs = std::stoi(argv[++i]);
        if (a == L"/bands") background = Bands();
        if (a == L"/color" && i + 1 < argc) background = CreateSolidBrush(std::stoul(argv[++i]));
    }
    // Every class of the common controls any filler makes.
    const DWORD classes = ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_USEREX_CLASSES | ICC_DATE_CLASSES;
    INITCOMMONCONTROLSEX icc{sizeof icc, classes | ICC_LINK_CLASS};
    InitCommonControlsEx(&icc);
    Register(L"PlumboTestTarget", TargetProc, background);
    const DWORD style = WS_OVERLAPPEDWINDOW | (fill ? WS_CLIPCHILDREN : 0);
    HWND hwnd = CreateWindowExW(0, L"PlumboTestTarget", title.c_str(), style, place(1, 100), place(2, 100),
                                place(3, 400), place(4, 300), nullptr, nullptr, inst, nullptr);
    if (fill) fill(hwnd);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
    for (MSG msg; GetMessageW(&msg, nullptr, 0, 0) > 0; DispatchMessageW(&msg)) TranslateMessage(&msg);
    return 0;
}

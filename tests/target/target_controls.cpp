// The test target's contents: "/controls" puts one of every kind of control the re-drawing
// knows into the window.
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace {

// Registered names that lose a prefix when the re-drawing reads them: "RT" + digit, and
// "Thunder" with or without it.
constexpr const wchar_t* kOuterFrameClass = L"ThunderRT7Frame";
constexpr const wchar_t* kInnerFrameClass = L"RT7Frame";
constexpr const wchar_t* kUnknownClass = L"PlumboGadget";
constexpr const wchar_t* kMdiChildClass = L"PlumboTestDocument";

// Frames and gadgets paint their caption at the top left, so a screenshot can be compared.
LRESULT CALLBACK CaptionedProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT r;
        GetClientRect(h, &r);
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        wchar_t text[80] = {};
        GetWindowTextW(h, text, 80);
        SetBkMode(dc, TRANSPARENT);
        TextOutW(dc, 4, 2, text, lstrlenW(text));
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProcW(h, m, w, l);
}

LRESULT CALLBACK MdiChildProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefMDIChildProcW(h, m, w, l); }

void RegisterOwnClasses(HINSTANCE inst) {
    static bool done = false;
    if (done) return;
    done = true;
    WNDCLASSW wc{};
    wc.lpfnWndProc = CaptionedProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    for (const wchar_t* name : {kOuterFrameClass, kInnerFrameClass, kUnknownClass}) {
        wc.lpszClassName = name;
        RegisterClassW(&wc);
    }
    wc.lpfnWndProc = MdiChildProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kMdiChildClass;
    RegisterClassW(&wc);

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
}

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
           DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, cls, text, WS_CHILD | style, x, y, w, h, parent, nullptr,
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
}

constexpr DWORD kShown = WS_VISIBLE;

}  // namespace


// Positions are client pixels of a window of at least 630 x 400 client pixels.
void FillWithControls(HWND w) {
    RegisterOwnClasses(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(w, GWLP_HINSTANCE)));

    // Every standard button type the bit tests tell apart.
    Child(w, L"Button", L"Push", kShown | BS_PUSHBUTTON, 8, 8, 80, 24);
    Child(w, L"Button", L"Default", kShown | BS_DEFPUSHBUTTON, 96, 8, 80, 24);
    Child(w, L"Button", L"Check", kShown | BS_CHECKBOX, 184, 8, 80, 24);
    Child(w, L"Button", L"Auto", kShown | BS_AUTOCHECKBOX, 272, 8, 80, 24);
    Child(w, L"Button", L"Three", kShown | BS_3STATE, 360, 8, 80, 24);
    Child(w, L"Button", L"Radio", kShown | BS_RADIOBUTTON, 448, 8, 80, 24);
    Child(w, L"Button", L"Group", kShown | BS_GROUPBOX, 8, 40, 160, 70);

    Child(w, L"Edit", L"Line one\r\nLine two",
          kShown | WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL, 176, 40,
          180, 70);

    HWND combo = Child(w, L"ComboBox", L"", kShown | CBS_DROPDOWN | WS_VSCROLL, 364, 40, 120, 200);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"First"));
    SetWindowTextW(combo, L"Combo edit");
    HWND list = Child(w, L"ComboBox", L"", kShown | CBS_DROPDOWNLIST | WS_VSCROLL, 492, 40, 120, 200);
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"List item"));
    SendMessageW(list, CB_SETCURSEL, 0, 0);

    HWND lb = Child(w, L"ListBox", L"", kShown | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 8, 118, 120, 80);
    for (const wchar_t* s : {L"Alpha", L"Beta", L"Gamma", L"Delta", L"Epsilon", L"Zeta", L"Eta"})
        SendMessageW(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));

    Child(w, L"ScrollBar", L"", kShown | SBS_HORZ, 136, 118, 150, 17);
    Child(w, L"ScrollBar", L"", kShown | SBS_VERT, 294, 118, 17, 80);

    Child(w, L"Static", L"Plain static", kShown, 344, 118, 120, 20);
    Child(w, L"Static", L"Bordered static", kShown | WS_BORDER, 344, 144, 120, 20);

    Child(w, TOOLBARCLASSNAMEW, L"", kShown | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_FLAT, 8,
          206, 300, 30);

    CLIENTCREATESTRUCT ccs{nullptr, 1000};
    HWND mdi = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                               WS_CHILD | kShown | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 316, 206, 140, 90, w,
                               nullptr, reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(w, GWLP_HINSTANCE)), &ccs);
    MDICREATESTRUCTW mcs{kMdiChildClass, L"Doc", reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(w, GWLP_HINSTANCE)),
                         4, 4, 100, 60, WS_VISIBLE, 0};
    SendMessageW(mdi, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs));

    // A frame in a frame, controls at both depths.
    HWND outer = Child(w, kOuterFrameClass, L"Outer frame", kShown | WS_CLIPSIBLINGS, 464, 176, 160, 120);
    Child(outer, L"Button", L"Inner push", kShown, 8, 22, 70, 22);
    HWND inner = Child(outer, kInnerFrameClass, L"Inner frame", kShown, 8, 50, 140, 60);
    Child(inner, L"Button", L"Deep", kShown | BS_CHECKBOX, 8, 22, 70, 20);

    // Hidden: a control, and a frame whose own child is visible.
    Child(w, L"Button", L"Hidden", BS_PUSHBUTTON, 8, 304, 80, 24);
    HWND hiddenFrame = Child(w, kOuterFrameClass, L"Hidden frame", 0, 96, 304, 120, 60);
    Child(hiddenFrame, L"Button", L"Inside hidden", kShown, 8, 22, 100, 24);

    // Overlapping siblings: the later one is on top.
    Child(w, L"Static", L"Under", kShown | WS_BORDER, 230, 304, 100, 40);
    Child(w, L"Static", L"Over", kShown | WS_BORDER, 270, 324, 100, 40);

    Child(w, kUnknownClass, L"", kShown | WS_BORDER, 380, 304, 100, 40);
}

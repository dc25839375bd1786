// The test target's contents: "/controls" puts the standard buttons and statics, scroll bars, an
// MDI client, frames in frames, hidden and overlapping controls and a control of a class no drawer
// knows into the window (the other kinds are in the other fillers').
#include "shown_texts.h"

#include <utility>

// Registered names that lose a prefix when the re-drawing reads them: "RT" + digit, and
// "Thunder" with or without it.
constexpr const wchar_t* kOuterFrameClass = L"ThunderRT7Frame";
constexpr const wchar_t* kInnerFrameClass = L"RT7Frame";
constexpr const wchar_t* kUnknownClass = L"PlumboGadget";
constexpr const wchar_t* kMdiChildClass = L"PlumboTestDocument";

// Positions are client pixels of a window of at least 630 x 400 client pixels.
void FillWithControls(HWND w) {
    for (const wchar_t* name : {kOuterFrameClass, kInnerFrameClass, kUnknownClass})
        Register(name, DefWindowProcW, GetSysColorBrush(COLOR_BTNFACE));
    Register(kMdiChildClass, DefMDIChildProcW, GetSysColorBrush(COLOR_WINDOW));

    // Every standard button type the bit tests tell apart.
    for (int x = 8; auto [text, type] : {std::pair{L"Push", BS_PUSHBUTTON}, {L"Default", BS_DEFPUSHBUTTON},
                                         {L"Check", BS_CHECKBOX}, {L"Auto", BS_AUTOCHECKBOX}, {L"Three", BS_3STATE},
                                         {L"Radio", BS_RADIOBUTTON}})
        Child(w, L"Button", text, WS_VISIBLE | type, std::exchange(x, x + 88), 8, 80, 24);
    Child(w, L"Button", L"Group", WS_VISIBLE | BS_GROUPBOX, 8, 40, 160, 70);
    Child(w, L"ScrollBar", L"", WS_VISIBLE | SBS_HORZ, 136, 118, 150, 17);
    Child(w, L"ScrollBar", L"", WS_VISIBLE | SBS_VERT, 294, 118, 17, 80);
    Child(w, L"Static", L"Plain static", WS_VISIBLE, 344, 118, 120, 20);

    const HINSTANCE inst = GetModuleHandleW(nullptr);
    CLIENTCREATESTRUCT ccs{nullptr, 1000};
    HWND mdi = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                               WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 316, 206, 140, 90, w,
                               nullptr, inst, &ccs);
    CreateMDIWindowW(kMdiChildClass, L"Doc", WS_VISIBLE, 4, 4, 100, 60, mdi, inst, 0);

    // A frame in a frame, controls at both depths.
    HWND outer = Child(w, kOuterFrameClass, L"Outer frame", WS_VISIBLE | WS_CLIPSIBLINGS, 464, 176, 160, 120);
    Child(outer, L"Button", L"Inner push", WS_VISIBLE, 8, 22, 70, 22);
    HWND inner = Child(outer, kInnerFrameClass, L"Inner frame", WS_VISIBLE, 8, 50, 140, 60);
    Child(inner, L"Button", L"Deep", WS_VISIBLE | BS_CHECKBOX, 8, 22, 70, 20);

    // Hidden: a control, and a frame whose own child is visible.
    Child(w, L"Button", L"Hidden", BS_PUSHBUTTON, 8, 304, 80, 24);
    HWND hiddenFrame = Child(w, kOuterFrameClass, L"Hidden frame", 0, 96, 304, 120, 60);
    Child(hiddenFrame, L"Button", L"Inside hidden", WS_VISIBLE, 8, 22, 100, 24);

    // Overlapping siblings: the later one is on top.
    Child(w, L"Static", L"Under", WS_VISIBLE | WS_BORDER, 230, 304, 100, 40);
    Child(w, L"Static", L"Over", WS_VISIBLE | WS_BORDER, 270, 324, 100, 40);

    Child(w, kUnknownClass, L"", WS_VISIBLE | WS_BORDER, 380, 304, 100, 40);
}

// Every button type 0 to 0xF but the group box, in each state it takes, captioned "t<type>
// s<state>" in hex, four columns of 24-pixel rows. Needs 640 x 300 client pixels.
void FillWithButtons(HWND w) {
    // The states of each type: a group box none.
    const int states[] = {1, 1, 2, 2, 2, 3, 3, 0, 1, 2, 1, 1, 1, 1, 1, 1};
    int i = 0;
    for (int type = 0; type <= 0xF; ++type)
        for (int state = 0; state < states[type]; ++state, ++i) {
            wchar_t caption[16];
            wsprintfW(caption, L"t%X s%d", type, state);
            HWND b = Child(w, L"Button", caption, WS_VISIBLE | type, 8 + (i % 4) * 158, 8 + (i / 4) * 32, 150, 24);
            SendMessageW(b, BM_SETCHECK, state, 0);
        }
}

// The window's own procedure, under the one that paints the owner-drawn list's rows.
static WNDPROC ownerDrawnBase = nullptr;

// Named: a lambda has no calling convention, and a 32-bit build's window procedures are stdcall.
static LRESULT CALLBACK PaintRowsRed(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m != WM_DRAWITEM) return CallWindowProcW(ownerDrawnBase, h, m, wp, lp);
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    SetDCBrushColor(item->hDC, RGB(200, 30, 30));
    FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    return TRUE;
}

// An owner-drawn list box whose rows this window paints in red, its texts nowhere to be read.
void FillWithOwnerDrawnList(HWND w) {
    ownerDrawnBase = SubclassWindow(w, PaintRowsRed);
    HWND list = Child(w, L"ListBox", L"", WS_VISIBLE | WS_BORDER | LBS_OWNERDRAWFIXED, 20, 20, 200, 120);
    for (int i = 0; i < 3; ++i) SendMessageW(list, LB_ADDSTRING, 0, i);
}

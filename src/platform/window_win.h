#pragma once
// A top-level or child window with one virtual message handler, and the forms-layer geometry
// our windows are laid out in: outer and client sizes in twips, moves in twips or pixels.
#include <windows.h>

#include <string>
#include <string_view>
#include <utility>

#include "core/units.h"

namespace plumbo {

struct WindowArgs {
    const wchar_t* className = nullptr;
    const wchar_t* title = L"";
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    HWND parent = nullptr;  // owner for top-level windows
    HMENU menu = nullptr;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
    HICON icon = nullptr;
    HBRUSH background = nullptr;
    UINT classStyle = 0;
    HCURSOR cursor = nullptr;
    // The window paints through OnPaint into an off-screen buffer, and is never erased.
    bool bufferedPaint = false;
};

// The text of a window of our own, such as a control's contents.
std::wstring ControlText(HWND control);

// A visible child of `parent` at (x, y, width, height) of its client area that paints itself
// through the off-screen buffer: a picture inside a dialog.
inline WindowArgs PaintedChildArgs(const wchar_t* className, HWND parent, int x, int y, int width, int height) {
    WindowArgs a;
    a.className = className;
    a.style = WS_CHILD | WS_VISIBLE;
    a.parent = parent;
    a.x = x;
    a.y = y;
    a.width = width;
    a.height = height;
    a.bufferedPaint = true;
    return a;
}

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    bool Create(const WindowArgs& args);
    HWND hwnd() const { return hwnd_; }

    // Pixels.
    RECT WindowRect() const;
    RECT ClientRect() const;
    void MovePx(int left, int top, int width, int height, bool repaint = true);

    // Twips, in the twips per pixel the window is laid out in.
    float Left() const;
    float Top() const;
    float Width() const;
    float Height() const;
    float ScaleWidth() const;
    float ScaleHeight() const;
    void Move(float left, float top, float width, float height);
    // The system's; a dialog's is that of the DPI it stands at now, a ruler's that of the
    // monitor it stands on.
    virtual TwipsPerPixel LayoutTwipsPerPixel() const;

    bool Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
    void SetVisible(bool show);
    void SetNormalState();

protected:
    // Every message comes here first. The base handles painting (OnPaint), timers (OnTimer),
    // commands (OnCommand) and clicks on a window disabled by a modal one, and passes the rest
    // to the system; a window overriding this calls Window::HandleMessage for what it leaves.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

    // With bufferedPaint: draw the whole client area into dc, an off-screen bitmap of the part
    // to be painted that is copied to the screen in one piece. The bitmap stands at that part's
    // place through dc's viewport origin: a change of the origin is made relative to it.
    virtual void OnPaint(HDC dc, const RECT& client) {}
    virtual void OnTimer(UINT_PTR id) {}
    // A menu item, accelerator or control notification; false passes it to the system.
    virtual bool OnCommand(WORD id, WORD code, HWND control) { return false; }

private:
    static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void PaintBuffered();
    HWND hwnd_ = nullptr;
    bool bufferedPaint_ = false;
};

// Pixels to twips and back at the system DPI, in which the dialogs are first laid out. A length on a monitor, of a
// window or on a ruler, is converted with that monitor's twips per pixel instead (dpi_win.h).
TwipsPerPixel Tpp();
int TwipsToPxX(double twips);
int TwipsToPxY(double twips);
inline float PxToTwipsX(double px) { return static_cast<float>(px * Tpp().x); }
inline float PxToTwipsY(double px) { return static_cast<float>(px * Tpp().y); }

// Width and height, in twips, that a caption takes in the stock user-interface font, the font
// of the rulers' numbers. Each caption is measured once per run, at the system DPI; a font
// scaled by a monitor's DPI takes the same twips there.
std::pair<float, float> MeasureGuiText(std::wstring_view caption);
HFONT GuiFont();
// The font Windows writes message boxes in, at the system DPI.
LOGFONTW MessageFont();

}  // namespace plumbo

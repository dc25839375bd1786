#pragma once
// A top-level or child window with one virtual message handler, and the forms-layer geometry
// our windows are laid out in: outer and client sizes in twips, moves in twips or pixels.
#include <windows.h>

#include <string>

#include "platform/units.h"

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
};

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

    // Twips, with the screen's twips per pixel.
    float Left() const;
    float Top() const;
    float Width() const;
    float Height() const;
    float ScaleWidth() const;
    float ScaleHeight() const;
    void Move(float left, float top, float width, float height);

    bool Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
    void SetVisible(bool show);
    bool IsNormalState() const { return hwnd_ && !IsIconic(hwnd_) && !IsZoomed(hwnd_); }
    void SetNormalState();

protected:
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

private:
    static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

// Pixels to twips and back with the screen's current resolution.
TwipsPerPixel Tpp();
int TwipsToPxX(double twips);
int TwipsToPxY(double twips);
inline float PxToTwipsX(double px) { return static_cast<float>(px * Tpp().x); }
inline float PxToTwipsY(double px) { return static_cast<float>(px * Tpp().y); }

// Handles every waiting message once, as a form's "process pending events" does.
void DoEvents();

}  // namespace plumbo

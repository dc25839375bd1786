#pragma once
// The version box, also the splash window at start-up.
#include <windows.h>

#include <memory>

#include "platform/gdi_win.h"
#include "platform/window_win.h"

namespace plumbo {

class AboutBox : public Window {
public:
    bool Create(bool modal);
    // Set when a closing click has destroyed the box.
    bool Closed() const { return closed_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void DrawBackground();
    void Paint(HDC dc);

    Bitmap image_;  // the persistent background: the gradient
    bool modal_ = false;
    bool closed_ = false;
};

std::unique_ptr<AboutBox> ShowSplash();
void mCtrlAbout_Click();

}  // namespace plumbo

#pragma once
// The version box, also the splash window at start-up.
#include <windows.h>

#include <memory>
#include <string>

#include "platform/gdi_win.h"
#include "platform/window_win.h"

namespace plumbo {

class AboutBox : public Window {
public:
    bool Create(bool modal);
    // Set when a closing click has destroyed the box.
    bool Closed() const { return closed_; }

    // The labels, windowless: the box paints them over its gradient and hit-tests them.
    enum class Part { None, Image1, Image2, lblBer, Label3, lblHttp, Label4, lblMail, Label5 };

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct Label {
        Part part;
        std::wstring caption;
        RECT rect;  // client pixels, sized to the caption
        bool bold;
        bool italic;
        COLORREF color;
    };

    void DrawBackground();
    void LayOutLabels();
    void Paint(HDC dc);
    Part HitTest(POINT p) const;
    Label* Find(Part part);
    void SetLinkColor(Part part, COLORREF color);
    void OpenLink(const Label& link);
    void Close();

    Bitmap image_;  // the persistent background: the gradient
    Font regular_, italic_, boldItalic_;
    Label labels_[6]{};
    bool modal_ = false;
    bool closed_ = false;
    Part pressed_ = Part::None;
};

std::unique_ptr<AboutBox> ShowSplash();
void mCtrlAbout_Click();

}  // namespace plumbo

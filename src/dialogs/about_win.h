#pragma once
// The version box "ﾊﾞｰｼﾞｮﾝ情報", also the splash window at start-up: a blue gradient with the
// icon, the title picture and six labels, two of them links.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "dialogs/dialog_layout.h"
#include "platform/dialog_control_win.h"

namespace plumbo {

class AboutBox : public DialogWindow {
public:
    // Hidden and centred on the screen, owned by owner. A modal box closes on a click off its
    // links; the splash does not.
    bool Create(HWND owner, bool modal);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnPaint(HDC dc, const RECT& client) override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    void OnDpiChanged() override;

private:
    // What lies under a point: the labels are windowless, painted over the gradient by the
    // box and hit-tested by it.
    enum class Part { None, Icon, Title, VersionLabel, HomeCaption, HomeLink, MailCaption, MailLink, Notice };

    struct Label {
        Part part = Part::None;
        std::wstring caption;
        RECT rect{};  // client pixels, sized to the caption
        bool bold = false;
        bool italic = false;
        COLORREF color = 0;
    };

    // A place in twips (left, top, right, bottom) in client pixels at the box's DPI.
    RECT PxOf(const RECT& twips) const;
    void LayOutLabels();
    HFONT FontOf(const Label& label) const;
    Part HitTest(POINT p) const;
    Label* Find(Part part);
    void SetLinkColor(Part part, COLORREF color);
    void OpenLink(const Label& link);
    void Close();

    std::vector<GradientBand> background_;
    HICON icon_ = nullptr;  // shared with the system: never destroyed
    int regular_ = 0, italic_ = 0, boldItalic_ = 0;  // numbers AddFont gave them
    std::vector<Label> labels_;  // in the order they are laid out
    bool modal_ = false;
    Part pressed_ = Part::None;
};

// Shown without taking the activation and painted at once, before start-up goes on; the
// caller hides or destroys it when start-up is done.
std::unique_ptr<AboutBox> ShowSplash(HWND owner);

// "ﾊﾞｰｼﾞｮﾝ情報": shows the box modally in the middle of the work area that nearWindow stands on
// (the target), and returns once it is closed, by a click, Esc, Alt+F4 or the program ending.
void ShowVersionBox(HWND owner, HWND nearWindow);

}  // namespace plumbo

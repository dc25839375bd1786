#include "ruler/rulers_win.h"

#include <optional>
#include <utility>

#include "core/numeric.h"

namespace plumbo {

namespace {

// The transparent look paints the body in a key colour and lets the screen show wherever that
// colour is. The key must differ from the ticks, the numbers and the frame, or they would
// vanish with the body: the first of these colours nobody picks for a scale that does.
COLORREF ChooseColorKey(COLORREF ticks, COLORREF numbers) {
    constexpr COLORREF kCandidates[] = {RGB(255, 0, 255), RGB(1, 254, 2), RGB(254, 1, 253), RGB(2, 3, 254)};
    const COLORREF frame = GetSysColor(COLOR_WINDOWFRAME);
    for (COLORREF key : kCandidates)
        if (key != ticks && key != numbers && key != frame) return key;
    return kCandidates[0];  // not reached: four candidates, three colours to avoid
}

constexpr std::pair<CommandId, RulerUnit> kUnitItems[] = {
    {CommandId::UnitMillimetres, RulerUnit::Millimetre},
    {CommandId::UnitInchEighths, RulerUnit::InchEighths},
    {CommandId::UnitInchTenths, RulerUnit::InchTenths},
    {CommandId::UnitPixels, RulerUnit::Pixel},
};

}  // namespace

Rulers::Rulers(Program& program)
    : program_(program),
      horizontal_(program, true, *this),
      vertical_(program, false, *this),
      tracking_(program, horizontal_, vertical_) {}

void Rulers::DpiChanged(RulerWindow&) {
    // A ruler now thicker or thinner stands off its edge of the target: the pair is laid along
    // the target again, once the move that brought it there is over and tracking knows where the
    // target is. Should our own move carry a ruler back to the other monitor (a target edge on
    // the boundary, the thickness tipping which monitor holds most of the ruler), it only takes
    // that monitor's thickness, or the two would pass it back and forth.
    if (!arranging_) tracking_.LayOutSoon();
}

void Rulers::DisplaysChanged(RulerWindow& ruler) {
    // Laid out again once the system has moved the windows onto the displays there are now.
    if (&ruler == &horizontal_) tracking_.LayOutSoon();
}

void Rulers::WatchPointer() { tracking_.WatchPointer(Shown() && program_.settings.showCursor); }

bool Rulers::Create() {
    if (!horizontal_.Create(nullptr) || !vertical_.Create(horizontal_.hwnd())) return false;
    if (!tracking_.Create()) return false;
    SetOnTop(true);
    return true;
}

bool Rulers::Shown() const { return shown_; }

void Rulers::Show(bool show) {
    shown_ = show;
    horizontal_.SetVisible(show);
    vertical_.SetVisible(show);
    if (show)
        tracking_.Start();
    else
        tracking_.Stop();
    WatchPointer();
    Check(CommandId::ShowRulers, show);
    Check(CommandId::HideRulers, !show);
}

bool Rulers::OnTop() const {
    return horizontal_.hwnd() && (GetWindowLongPtrW(horizontal_.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void Rulers::SetOnTop(bool onTop) { StackRulers(horizontal_, vertical_, onTop); }

RECT Rulers::HorizontalRect() const { return horizontal_.WindowRect(); }
RECT Rulers::VerticalRect() const { return vertical_.WindowRect(); }

void Rulers::SetLengths(double horizontalTwips, double verticalTwips) {
    const RECT h = horizontal_.WindowRect();
    horizontal_.MovePx(h.left, h.top, RoundHalfEven(horizontalTwips / horizontal_.LayoutTwipsPerPixel().x),
                       h.bottom - h.top);
    const RECT v = vertical_.WindowRect();
    vertical_.MovePx(v.left, v.top, v.right - v.left, RoundHalfEven(verticalTwips / vertical_.LayoutTwipsPerPixel().y));
}

void Rulers::ApplySettings() {
    const Settings& s = program_.settings;
    for (RulerWindow* r : {&horizontal_, &vertical_}) r->SetColors(s.rulerColor, s.tickColor, s.numberColor);
    SetOnTop(s.onTop);
    ApplyLook();
    Check(CommandId::PlaceInside, s.inside);
    Check(CommandId::PlaceOutside, !s.inside);
    Check(CommandId::TransparentLook, s.transparent);
    CheckUnit(program_.unit);
    WatchPointer();
}

void Rulers::SuspendTracking() { tracking_.Suspend(); }
void Rulers::ResumeTracking() { tracking_.Resume(); }

void Rulers::ShowParked() {
    // Parked before they are shown, so they never flash up where they stood last time.
    const RECT h = horizontal_.WindowRect();
    const RECT v = vertical_.WindowRect();
    horizontal_.MovePx(0, -(h.bottom - h.top), h.right - h.left, h.bottom - h.top);
    vertical_.MovePx(-(v.right - v.left), 0, v.right - v.left, v.bottom - v.top);
    // Shown again over the window they last followed, which has not changed since: forgetting
    // its rectangle makes the first look lay them out along it.
    program_.target.rect = RECT{};
    Show(true);
}

void Rulers::SetUnit(RulerUnit unit) {
    program_.unit = unit;
    CheckUnit(unit);
    for (RulerWindow* r : {&horizontal_, &vertical_}) {
        // The new unit may need fewer elements than the old one left showing.
        HideScale(r->Model());
        r->RunScale();
        r->Redraw();
    }
}

void Rulers::SetInside(bool inside) {
    Check(CommandId::PlaceInside, inside);
    Check(CommandId::PlaceOutside, !inside);
    program_.settings.inside = inside;
    program_.Save(SettingId::Inside);
}

void Rulers::ToggleTransparent() {
    program_.settings.transparent = !program_.settings.transparent;
    ApplyLook();
    Check(CommandId::TransparentLook, program_.settings.transparent);
    program_.Save(SettingId::Transparent);
}

void Rulers::ApplyLook() {
    const Settings& s = program_.settings;
    // Live: the screen behind shows through the body as it changes, with no copy of it, no
    // timer and nothing hidden, and screenshots taken by other programs still show the rulers.
    // The same colour key serves under Wine, which has no compositor for per-pixel alpha, and
    // on Windows.
    std::optional<COLORREF> key;
    if (s.transparent) key = ChooseColorKey(s.tickColor, s.numberColor);
    horizontal_.SetColorKey(key);
    vertical_.SetColorKey(key);
}

void Rulers::CheckUnit(RulerUnit unit) {
    for (const auto& [id, itemUnit] : kUnitItems) Check(id, itemUnit == unit);
}

void Rulers::Check(CommandId id, bool checked) {
    if (program_.commands) program_.commands->Check(id, checked);
}

void Rulers::Dragged(RulerWindow& ruler) {
    if (&ruler != &horizontal_) return;
    // Outside below its left end, inside from the same corner.
    // The user's place stands, not the target's. Placed twice: a move onto a monitor of another
    // DPI changes the ruler's thickness on the way.
    const bool inside = program_.settings.inside;
    arranging_ = true;
    for (int pass = 0; pass < 2; ++pass) {
        const RECT h = horizontal_.WindowRect();
        const RECT v = vertical_.WindowRect();
        const int width = v.right - v.left, height = v.bottom - v.top;
        if (inside)
            vertical_.MovePx(h.left, h.top, width, height);
        else
            vertical_.MovePx(h.left - width, h.bottom, width, height);
    }
    arranging_ = false;
    vertical_.SetPlacedInside(inside);
}

}  // namespace plumbo

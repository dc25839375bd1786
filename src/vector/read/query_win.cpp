#include "vector/read/query_win.h"

#include <algorithm>
#include <unordered_map>

#include "platform/dpi_win.h"
#include "platform/gdi_win.h"
#include "platform/png_win.h"
#include "platform/window_reports_win.h"
#include "vector/read/accessible_reader_win.h"
#include "vector/draw/class_names.h"
#include "vector/read/content_readers_win.h"
#include "vector/read/record_bounds.h"
#include "vector/read/toolkit_names.h"

namespace plumbo {

namespace {

// One more unit than we keep, so a surrogate pair straddling the cut can be seen and dropped.
constexpr int kTextBufferUnits = static_cast<int>(kMaxTextUnits) + 2;

uint32_t StyleOf(HWND hwnd) { return static_cast<uint32_t>(GetWindowLongW(hwnd, GWL_STYLE)); }

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

using ChildMap = std::unordered_map<HWND, std::vector<HWND>>;

// What a re-drawing reads beyond the controls' messages: the accessibility tree, within one
// budget for every window of it, and, when asked for, the screen's pixels of what nothing tells.
struct SecondSources {
    AccessibleBudget accessible;
    bool pictures = false;

    void ReadAccessible(HWND hwnd, WindowRecord& record) {
        record.accessible = accessible.Read(hwnd);
        // The walker's thread runs at our own awareness, and accLocation answers in the screen's
        // physical pixels, while the rest of a stretched program's record is in its own.
        for (AccessibleElement& e : record.accessible)
            e.rect = ToRect32(PhysicalToTarget({e.rect.left, e.rect.top, e.rect.right, e.rect.bottom}));
    }

    // Windows no drawer knows, read once every control has been asked: an accessibility tree
    // takes long across processes, longest on a busy machine, and its time is not to come out of
    // the controls' messages' budget. A window that paints itself and tells nothing gets its pixels.
    struct Unlisted { HWND hwnd; WindowRecord* record; bool painted; };
    std::vector<Unlisted> unlisted;
};

// What the screen shows of a rectangle of the target's now, whatever covers it: the target is in
// front when it is re-drawn. Null when it cannot be copied. The screen is copied in its physical
// pixels, with this thread out of a stretched program's awareness.
std::shared_ptr<const ScreenPixels> GrabScreenPixels(const Rect32& own) {
    const RECT r = TargetToPhysical({own.left, own.top, own.right, own.bottom});
    const DpiReading& reading = TargetReading();
    std::optional<ThreadDpiAwarenessScope> physical;
    if (reading.stretched) physical.emplace(DpiAwareness::PerMonitor);
    auto out = std::make_shared<ScreenPixels>();
    out->width = r.right - r.left;
    out->height = r.bottom - r.top;
    if (out->width <= 0 || out->height <= 0) return nullptr;
    const BITMAPINFO bi = TopDownDib(out->width, out->height, 24);
    void* bits = nullptr;
    WindowDc screen(nullptr);
    MemoryDc copy(screen.Get());
    Bitmap dib(CreateDIBSection(screen.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits) return nullptr;
    {
        SelectGuard select(copy.Get(), dib.Get());
        if (!BitBlt(copy.Get(), 0, 0, out->width, out->height, screen.Get(), r.left, r.top, SRCCOPY | CAPTUREBLT)) return nullptr;
        GdiFlush();
    }
    const auto* first = static_cast<const uint8_t*>(bits);
    out->rows.assign(first, first + out->Stride() * static_cast<size_t>(out->height));
    const UINT dpi = reading.monitorDpi;
    if (EncodePng(out->width, out->height, out->Stride(), out->rows, dpi, dpi, out->png) != S_OK) return nullptr;
    return out;
}

// Fills the records of parent's children from the one enumeration of the whole tree, going
// deeper only where a drawer draws the children: each window is visited once.
void ReadChildren(HWND parent, WindowRecord& record, const ChildMap& childrenOf, ControlQuery& query,
                  SecondSources& more) {
    auto found = childrenOf.find(parent);
    if (found == childrenOf.end()) return;
    record.children.reserve(found->second.size());
    for (HWND hwnd : found->second) {
        WindowRecord& child = record.children.emplace_back();
        // A window destroyed meanwhile reads as style 0: hidden, like one never shown.
        child.style = StyleOf(hwnd);
        if (!HasStyleBits(child.style, style_bits::kVisible)) continue;
        RECT r{};
        if (!GetWindowRect(hwnd, &r)) {
            child.style &= ~style_bits::kVisible;
            continue;
        }
        child.window = ToRect32(ThreadToTarget(r));
        child.className = DecideControlClass(hwnd, query);
        const RecordNeeds needs = NeedsFor(child.className, child.style);
        if (needs.text) child.text = query.ReadText(hwnd, needs.textUnits);
        if (needs.clientRect && GetClientRect(hwnd, &r)) child.client = ToRect32(ThreadToTarget(r));
        if (needs.firstDescendantText) {
            // The enumeration goes depth first, so the first descendant is the first child.
            auto inner = childrenOf.find(hwnd);
            if (inner != childrenOf.end() && !inner->second.empty()) {
                child.hasDescendant = true;
                child.firstDescendantText = query.ReadText(inner->second.front(), kMaxTextUnits);
            }
        }
        LRESULT check = 0;
        if (needs.checkState && query.Send(hwnd, BM_GETCHECK, 0, 0, &check)) child.check = static_cast<uint32_t>(check);
        if (needs.content) ReadControlContent(hwnd, LookupDrawer(child.className), child, query);
        if (needs.children) ReadChildren(hwnd, child, childrenOf, query, more);
        // A window whose class no drawer knows paints what its child windows do not show itself:
        // that can only be read from its accessibility tree, if at all.
        const DrawerKind kind = LookupDrawer(child.className);
        // Each parent's children were reserved whole, so the record stays where it is.
        if (kind == DrawerKind::Unlisted) more.unlisted.push_back({hwnd, &child, !childrenOf.contains(hwnd)});
        if (more.pictures && PaintedByItsProgram(kind, child.style))
            child.pixels = GrabScreenPixels(child.window);
    }
}

std::vector<MenuItemRecord> ReadMenuBar(HWND target, uint32_t style) {
    std::vector<MenuItemRecord> items;
    // A child window's "menu" is its control identifier.
    if (style & WS_CHILD) return items;
    HMENU menu = GetMenu(target);
    if (!menu || !IsMenu(menu)) return items;
    const int count = GetMenuItemCount(menu);  // -1 for another process's menu under Wine
    for (int i = 0; i < count; ++i) {
        RECT r{};
        if (!GetMenuItemRect(target, menu, static_cast<UINT>(i), &r)) continue;
        r = ThreadToTarget(r);
        wchar_t buf[kTextBufferUnits] = {};
        int n = GetMenuStringW(menu, static_cast<UINT>(i), buf, kTextBufferUnits, MF_BYPOSITION);
        n = std::clamp(n, 0, kTextBufferUnits - 1);
        std::wstring text = TrimSpaces(CutAtCharBoundary(std::wstring_view(buf, n), kMaxTextUnits));
        if (auto nul = text.find(L'\0'); nul != std::wstring::npos) text.erase(nul);
        items.push_back({ToRect32(r), std::move(text)});
    }
    return items;
}

// The frame's metrics as the target's program draws them: for the DPI it lays itself out at,
// not ours (the system DPI we started at).
SystemMetrics ReadMetrics() {
    auto metric = [](int index) { return TargetMetric(index); };
    return {metric(SM_CYCAPTION), metric(SM_CXSIZE), metric(SM_CYSIZE), metric(SM_CXHTHUMB), metric(SM_CYVTHUMB)};
}

// Where the window's program put its client area, and a tool window's caption metrics.
FrameRecord ReadFrame(HWND target) {
    FrameRecord f;
    f.client = ToRect32(TargetClientOnScreen(target));
    f.exStyle = static_cast<uint32_t>(GetWindowLongW(target, GWL_EXSTYLE));
    f.cySmCaption = TargetMetric(SM_CYSMCAPTION);
    f.cxSmSize = TargetMetric(SM_CXSMSIZE);
    f.cySmSize = TargetMetric(SM_CYSMSIZE);
    return f;
}

}  // namespace

bool GetAllDescendants(HWND parent, std::vector<HWND>& handles) {
    if (!parent || !IsWindow(parent)) return false;
    // The return value of EnumChildWindows is not meaningful (a window without children may
    // give 0); the test above is what tells a failure.
    std::vector<HWND> found;
    EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&found));
    handles = std::move(found);
    return true;
}

std::wstring GetControlClass(HWND hwnd) {
    wchar_t buf[kTextBufferUnits] = {};
    int n = GetClassNameW(hwnd, buf, kTextBufferUnits);
    n = std::clamp(n, 0, kTextBufferUnits - 1);
    return NormaliseClassName(std::wstring_view(buf, n));
}

std::wstring DecideControlClass(HWND hwnd, ControlQuery& query) {
    const std::wstring own = GetControlClass(hwnd), real = NormaliseClassName(Reports().realClassName(hwnd));
    return DecideClass(own, real, [&]() -> std::optional<uint32_t> {
               LRESULT code = 0;
               if (!query.Send(hwnd, WM_GETDLGCODE, 0, 0, &code)) return std::nullopt;
               return static_cast<uint32_t>(code);
           });
}

bool HasStyle(HWND hwnd, uint32_t mask) { return HasStyleBits(StyleOf(hwnd), mask); }

std::wstring ReadWindowText(HWND hwnd) {
    ControlQuery query;
    return query.ReadText(hwnd, kMaxTextUnits);
}

std::optional<TargetRecord> QueryTarget(HWND target, const std::optional<OwnPixels>& ownPixels, bool pictures,
                                        std::chrono::milliseconds accessibleBudget) {
    if (!target || !IsWindow(target)) return std::nullopt;
    TargetRecord t;
    // The frame a person sees: the invisible resize borders of Windows 10 and 11 are not drawn.
    // DWM gives the visible frame in the screen's pixels whatever the thread's DPI awareness, so
    // in a program's own pixels the borders are taken off its window rectangle.
    RECT frame = VisibleFrame(target);
    if (ownPixels) {
        if (!GetWindowRect(target, &frame)) return std::nullopt;
        frame = ThreadToTarget(frame);
        frame = {frame.left + ownPixels->borders.left, frame.top + ownPixels->borders.top,
                 frame.right - ownPixels->borders.right, frame.bottom - ownPixels->borders.bottom};
    }
    t.window.window = ToRect32(frame);
    t.window.style = StyleOf(target);
    t.metrics = ReadMetrics();
    t.frame = ReadFrame(target);

    ControlQuery query;
    if (HasStyleBits(t.window.style, style_bits::kCaption)) t.window.text = query.ReadText(target, kMaxTextUnits);

    std::vector<HWND> all;
    if (!GetAllDescendants(target, all)) return std::nullopt;
    ChildMap childrenOf;
    childrenOf.reserve(all.size());
    for (HWND h : all) childrenOf[GetParent(h)].push_back(h);
    SecondSources more{AccessibleBudget(accessibleBudget), pictures};
    ReadChildren(target, t.window, childrenOf, query, more);
    for (auto& [hwnd, record, painted] : more.unlisted) {
        more.ReadAccessible(hwnd, *record);
        if (more.pictures && painted && record->accessible.empty())
            record->pixels = GrabScreenPixels(record->window);
    }
    if (all.empty()) more.ReadAccessible(target, t.window);

    t.menuItems = ReadMenuBar(target, t.window.style);
    // Gone while we read it: what we have describes nothing any more.
    if (!IsWindow(target)) return std::nullopt;
    BoundTargetRecord(t);
    return t;
}

}  // namespace plumbo

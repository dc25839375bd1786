// The re-drawing of another program's bars and small common controls: every text the target
// shows reaches the metafile, within 2 px of the rectangle its control gives for it and cut to
// that rectangle. The target tells those rectangles itself, asked in its own process.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <sstream>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "platform/dpi_win.h"
#include "vector/player_win.h"

namespace plumbo {
namespace {

constexpr int kSlack = 2;

struct Expected {
    std::wstring kind, text;
    RECT rect;  // relative to the target's outer top-left, as the metafile's units are
};

std::vector<Expected> ReadReport(const std::wstring& path, const RECT& target) {
    const std::string bytes = e2e::ReadFileBytes(path);
    std::wstring all(bytes.size(), L'\0');
    all.resize(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), all.data(),
                                   static_cast<int>(all.size())));
    std::vector<Expected> out;
    std::wistringstream lines(all);
    for (std::wstring line; std::getline(lines, line);) {
        const size_t a = line.find(L'\t'), b = line.rfind(L'\t');
        Expected e{line.substr(0, a), line.substr(a + 1, b - a - 1), {}};
        std::wistringstream(line.substr(b + 1)) >> e.rect.left >> e.rect.top >> e.rect.right >> e.rect.bottom;
        OffsetRect(&e.rect, -target.left, -target.top);
        out.push_back(e);
    }
    return out;
}

bool Near(POINT p, const RECT& r) {
    return p.x >= r.left - kSlack && p.x <= r.right + kSlack && p.y >= r.top - kSlack && p.y <= r.bottom + kSlack;
}
// A clipped text is cut inside the item's rectangle.
bool CutWithin(const RECT& clip, const RECT& r) {
    return clip.left >= r.left - kSlack && clip.top >= r.top - kSlack && clip.right <= r.right + kSlack &&
           clip.bottom <= r.bottom + kSlack && clip.right > clip.left;
}
std::wstring WithoutSpaces(std::wstring s) {
    s.erase(std::remove_if(s.begin(), s.end(), [](wchar_t c) { return std::iswspace(c); }), s.end());
    return s;
}

TEST(BarsRedraw, EveryTextOfTheBarsAndSmallControlsReachesTheMetafileInItsItemCutToIt) {
    const std::wstring report = e2e::MakeTempDir(L"bars") + L"\\shown.txt";
    e2e::Target target;
    ASSERT_TRUE(target.Start(20, 20, 760, 640, L"Bars", L"/bars /report \"" + report + L"\""));
    ASSERT_TRUE(e2e::WaitFor([&] { return e2e::FileExists(report); }));
    const RECT outer = e2e::WindowRectOf(target.Hwnd());
    const std::vector<Expected> shown = ReadReport(report, outer);
    // Each kind of control put something in the report: status bar, tool bars, rebar, combo
    // boxes, edits, statics, link, date and month.
    ASSERT_GE(shown.size(), 30u);

    auto redrawn = RedrawWindowAsMeta(target.Hwnd(), nullptr, WindowTwipsPerPixel(target.Hwnd()));
    ASSERT_TRUE(redrawn);
    const auto texts = e2e::MetafileTexts(redrawn->picture.EnhMetafile());
    for (const Expected& e : shown) {
        SCOPED_TRACE(testing::Message() << e.kind << " '" << e.text << "' in " << e.rect.left << "," << e.rect.top << ","
                                        << e.rect.right << "," << e.rect.bottom);
        if (e.kind == L"line") {
            auto found = std::find_if(texts.begin(), texts.end(), [&](const e2e::MetafileText& t) {
                return t.text == e.text && Near(t.at, e.rect) && CutWithin(t.clip, e.rect);
            });
            EXPECT_NE(found, texts.end()) << "not drawn in its place";
        } else {
            // Broken at words by the player as by the control: the lines drawn in its rectangle.
            std::wstring joined;
            for (const e2e::MetafileText& t : texts)
                if (Near(t.at, e.rect) && CutWithin(t.clip, e.rect)) joined += t.text;
            EXPECT_EQ(WithoutSpaces(joined), WithoutSpaces(e.text));
        }
    }
}

}  // namespace
}  // namespace plumbo

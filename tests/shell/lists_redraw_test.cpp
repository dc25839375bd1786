// The re-drawing of another program's item lists (testtarget.exe /lists): every text a person
// sees there reaches the metafile inside the rectangle its control shows it in, and a target
// that answers late, hangs or closes while it is read holds the re-drawing up no longer than
// its budget and keeps none of the memory placed in it.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cwchar>
#include <sstream>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "platform/dpi_win.h"
#include "vector/control_query_win.h"
#include "vector/player_win.h"

namespace plumbo {
namespace {

// The target's own account of what it shows, once it has written it: each text, and as its
// clip the rectangle it is shown in (screen pixels).
std::vector<e2e::MetafileText> ShownBy(const e2e::Target& target) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"plumbo-lists-" + std::to_wstring(target.Pid()) + L".txt";
    if (!e2e::WaitFor([&] { return e2e::FileExists(path); })) return {};
    const std::string bytes = e2e::ReadFileBytes(path);
    DeleteFileW(path.c_str());
    std::wistringstream all(std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t)));
    std::vector<e2e::MetafileText> shown;
    for (std::wstring line; std::getline(all, line);) {
        RECT& r = shown.emplace_back(e2e::MetafileText{line.substr(0, line.find(L'\t')), {}}).clip;
        swscanf(line.c_str() + shown.back().text.size(), L"%ld %ld %ld %ld", &r.left, &r.top, &r.right, &r.bottom);
    }
    return shown;
}

// Each edge within 2 px.
bool Near(const RECT& a, const RECT& b) {
    return std::max({std::abs(a.left - b.left), std::abs(a.top - b.top), std::abs(a.right - b.right),
                     std::abs(a.bottom - b.bottom)}) <= 2;
}

TEST(ListsRedraw, EveryTextOnShowReachesTheMetafileInsideItsItemAndNoRowScrolledAway) {
    e2e::Target target;
    ASSERT_TRUE(target.Start(40, 40, 760, 580, L"Lists", L"/lists"));
    const auto shown = ShownBy(target);
    ASSERT_GT(shown.size(), 60u) << "the target did not say what it shows";

    auto redrawn = RedrawWindowAsMeta(target.Hwnd(), nullptr, WindowTwipsPerPixel(target.Hwnd()));
    ASSERT_TRUE(redrawn.has_value());
    const auto texts = e2e::MetafileTexts(redrawn->picture.EnhMetafile());
    // A wrapped text is several lines cut to one rectangle: one run of texts.
    std::vector<e2e::MetafileText> runs;
    for (const auto& t : texts)
        if (!runs.empty() && EqualRect(&runs.back().clip, &t.clip) && !IsRectEmpty(&t.clip)) runs.back().text += t.text;
        else runs.push_back(t);

    const RECT outer = e2e::WindowRectOf(target.Hwnd());
    auto withoutSpaces = [](std::wstring s) { return std::erase(s, L' '), s; };
    for (const auto& s : shown) {
        SCOPED_TRACE(testing::Message() << s.text);
        RECT want = s.clip;
        OffsetRect(&want, -outer.left, -outer.top);
        const auto found = std::find_if(runs.begin(), runs.end(), [&](const e2e::MetafileText& r) {
            return withoutSpaces(r.text) == withoutSpaces(s.text) && Near(r.clip, want);
        });
        ASSERT_NE(found, runs.end()) << "not drawn cut to " << want.left << "," << want.top << "," << want.right;
        InflateRect(&want, 2, 2);
        EXPECT_TRUE(PtInRect(&want, found->at)) << found->at.x << "," << found->at.y;
    }
    // Of the report view's thousand rows only those on show are drawn.
    auto rows = [](const auto& list) {
        return std::count_if(list.begin(), list.end(), [](const auto& t) { return t.text.rfind(L"Row ", 0) == 0; });
    };
    EXPECT_EQ(rows(texts), rows(shown));
    EXPECT_LT(rows(shown), 20);
}

// Committed allocations of the process's own memory (not images or mapped files).
size_t PrivateAllocations(HANDLE process) {
    size_t n = 0;
    MEMORY_BASIC_INFORMATION m{};
    for (char* at = nullptr; VirtualQueryEx(process, at, &m, sizeof m) == sizeof m; at = static_cast<char*>(m.BaseAddress) + m.RegionSize)
        n += m.Type == MEM_PRIVATE && m.State == MEM_COMMIT && m.BaseAddress == m.AllocationBase;
    return n;
}

// The tree, read last, answers each question 150 ms late (the budget runs out over several),
// not at all for 3 s (one message's wait), or ends the program while it is asked.
TEST(ListsRedraw, ATargetThatAnswersLateHangsOrClosesHoldsTheRedrawingUpNoLongerThanTheBudgetAndKeepsNoMemory) {
    // Finding the windows, laying out and playing come on top of the messages' budget.
    constexpr int kMarginMs = 150;
    for (const wchar_t* answer : {L"/slow", L"/hang", L"/close"}) {
        SCOPED_TRACE(testing::Message() << std::wstring(answer));
        e2e::Target target;
        ASSERT_TRUE(target.Start(40, 40, 760, 580, L"Lists", std::wstring(L"/lists ") + answer));
        ASSERT_FALSE(ShownBy(target).empty());
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, target.Pid());
        ASSERT_TRUE(process);
        const auto before = PrivateAllocations(process);

        const auto start = std::chrono::steady_clock::now();
        RedrawWindowAsMeta(target.Hwnd(), nullptr, WindowTwipsPerPixel(target.Hwnd()));
        const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        EXPECT_LT(took.count(), kQueryBudgetMs + kMarginMs);

        const bool closing = std::wstring(answer) == L"/close";
        EXPECT_EQ(WaitForSingleObject(process, 0), closing ? WAIT_OBJECT_0 : WAIT_TIMEOUT);
        // The hung tree will still write its late answer into the memory we placed in it: that
        // stays while it sleeps, and is freed once the target has caught up (this thread taking
        // its messages meanwhile). The target lives on.
        if (std::wstring(answer) == L"/hang") EXPECT_EQ(PrivateAllocations(process), before + 1);
        if (!closing) {
            EXPECT_TRUE(e2e::WaitFor([&] { return PrivateAllocations(process) == before; }, 6000))
                << PrivateAllocations(process) << " allocations, " << before << " before";
            EXPECT_EQ(WaitForSingleObject(process, 0), WAIT_TIMEOUT) << "the target ended";
        }
        CloseHandle(process);
    }
}

}  // namespace
}  // namespace plumbo

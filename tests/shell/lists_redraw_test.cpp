// The re-drawing of another program's item lists (testtarget.exe /lists): every text a person
// sees there reaches the metafile inside the rectangle its control shows it in, and a target
// that answers late, hangs or closes while it is read holds the re-drawing up no longer than
// its budget and keeps none of the memory placed in it.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cwchar>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "platform/dpi_win.h"
#include "vector/control_query_win.h"
#include "vector/player_win.h"

namespace plumbo {
namespace {

// A text as the target says its control shows it, and where (screen pixels).
struct Shown {
    std::wstring text;
    RECT rect;
};

std::wstring TargetFile(DWORD pid) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"plumbo-lists-" + std::to_wstring(pid) + L".txt";
}

// The target's own account of what it shows, once it has written it.
std::vector<Shown> ShownBy(const e2e::Target& target) {
    const std::wstring path = TargetFile(target.Pid());
    if (!e2e::WaitFor([&] { return e2e::FileExists(path); })) return {};
    const std::string bytes = e2e::ReadFileBytes(path);
    DeleteFileW(path.c_str());
    const std::wstring all(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    std::vector<Shown> shown;
    for (size_t at = 0, end; (end = all.find(L'\n', at)) != std::wstring::npos; at = end + 1) {
        const std::wstring line = all.substr(at, end - at);
        const size_t tab = line.find(L'\t');
        Shown s{line.substr(0, tab), {}};
        swscanf(line.c_str() + tab, L"%ld %ld %ld %ld", &s.rect.left, &s.rect.top, &s.rect.right, &s.rect.bottom);
        shown.push_back(s);
    }
    return shown;
}

std::wstring WithoutSpaces(std::wstring s) {
    s.erase(std::remove(s.begin(), s.end(), L' '), s.end());
    return s;
}

bool Near(LONG a, LONG b) { return std::abs(a - b) <= 2; }

TEST(ListsRedraw, EveryTextOnShowReachesTheMetafileInsideItsItemAndNoRowScrolledAway) {
    e2e::Target target;
    ASSERT_TRUE(target.Start(40, 40, 760, 580, L"Lists", L"/lists"));
    const std::vector<Shown> shown = ShownBy(target);
    ASSERT_GT(shown.size(), 60u) << "the target did not say what it shows";

    auto redrawn = RedrawWindowAsMeta(target.Hwnd(), nullptr, WindowTwipsPerPixel(target.Hwnd()));
    ASSERT_TRUE(redrawn.has_value());
    const auto texts = e2e::MetafileTexts(redrawn->picture.EnhMetafile());
    // A wrapped text is several lines cut to one rectangle: one run of texts.
    struct Run {
        std::wstring text;
        POINT at;
        RECT clip;
    };
    std::vector<Run> runs;
    for (const auto& t : texts) {
        if (!runs.empty() && EqualRect(&runs.back().clip, &t.clip) && !IsRectEmpty(&t.clip)) runs.back().text += t.text;
        else runs.push_back({t.text, t.at, t.clip});
    }

    const RECT outer = e2e::WindowRectOf(target.Hwnd());
    for (const Shown& s : shown) {
        SCOPED_TRACE(testing::Message() << s.text);
        RECT want = s.rect;
        OffsetRect(&want, -outer.left, -outer.top);
        const auto found = std::find_if(runs.begin(), runs.end(), [&](const Run& r) {
            return WithoutSpaces(r.text) == WithoutSpaces(s.text) && Near(r.clip.left, want.left) &&
                   Near(r.clip.top, want.top) && Near(r.clip.right, want.right) && Near(r.clip.bottom, want.bottom);
        });
        ASSERT_NE(found, runs.end()) << "not drawn cut to " << want.left << "," << want.top << "," << want.right << ","
                                     << want.bottom;
        EXPECT_TRUE(found->at.x >= want.left - 2 && found->at.x <= want.right + 2 && found->at.y >= want.top - 2 &&
                    found->at.y <= want.bottom + 2)
            << found->at.x << "," << found->at.y;
    }
    // Of the report view's thousand rows only those on show are drawn.
    auto rows = [](const auto& list) {
        return std::count_if(list.begin(), list.end(), [](const auto& t) { return t.text.rfind(L"Row ", 0) == 0; });
    };
    EXPECT_EQ(rows(texts), rows(shown));
    EXPECT_LT(rows(shown), 20);
}

// Committed allocations of the process's own (not images or mapped files), by base address.
std::vector<void*> PrivateAllocations(HANDLE process) {
    std::vector<void*> bases;
    MEMORY_BASIC_INFORMATION m{};
    for (char* at = nullptr; VirtualQueryEx(process, at, &m, sizeof m) == sizeof m; at = static_cast<char*>(m.BaseAddress) + m.RegionSize)
        if (m.Type == MEM_PRIVATE && m.State == MEM_COMMIT && m.BaseAddress == m.AllocationBase)
            bases.push_back(m.BaseAddress);
    return bases;
}

// The tree, read last, answers each question 150 ms late (the budget runs out over several),
// not at all for 3 s (one message's wait), or ends the program while it is asked.
TEST(ListsRedraw, ATargetThatAnswersLateHangsOrClosesHoldsTheRedrawingUpNoLongerThanTheBudgetAndKeepsNoMemory) {
    // Finding the windows, laying out and playing come on top of the messages' budget.
    constexpr auto kMargin = std::chrono::milliseconds(150);
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
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_LT(took, std::chrono::milliseconds(kQueryBudgetMs) + kMargin)
            << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms";

        if (std::wstring(answer) == L"/close") {
            EXPECT_EQ(WaitForSingleObject(process, 0), WAIT_OBJECT_0) << "still running";
        } else {
            EXPECT_EQ(PrivateAllocations(process).size(), before.size()) << "allocations of the target's own";
            // Still late: what it has yet to answer asks nothing more of ours.
            EXPECT_EQ(WaitForSingleObject(process, 0), WAIT_TIMEOUT);
        }
        CloseHandle(process);
    }
}

}  // namespace
}  // namespace plumbo

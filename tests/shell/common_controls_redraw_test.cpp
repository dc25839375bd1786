// The re-drawing of another program's common controls: every text a person sees in the
// target's item lists (testtarget.exe /lists) or in its bars and small controls (/bars) reaches
// the metafile where its control shows it, as the target tells it, asked in its own process;
// and a target that answers late, hangs or closes while it is read holds the re-drawing up no
// longer than its budget and keeps none of the memory placed in it.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "platform/dpi_win.h"
#include "vector/control_query_win.h"
#include "vector/player_win.h"

namespace plumbo {
namespace {

// The target started with `args`, 760 pixels wide: what it shows (at least `least` texts, or it
// said nothing) and the texts of its re-drawing, each text it shows looked for among them. The
// target lives on.
struct Redrawn { std::vector<e2e::ShownText> shown; std::vector<e2e::MetafileText> texts; };
Redrawn ExpectDrawnWhereShown(const wchar_t* args, int height, size_t least) {
    e2e::Target target;
    EXPECT_TRUE(target.Start(20, 20, 760, height, L"Redrawn", args));
    const auto shown = e2e::ShownBy(target);
    EXPECT_GE(shown.size(), least) << "the target did not say what it shows";
    auto redrawn = RedrawWindowAsMeta(target.Hwnd(), nullptr, WindowTwipsPerPixel(target.Hwnd()));
    EXPECT_TRUE(redrawn.has_value());
    const auto texts = redrawn ? e2e::MetafileTexts(redrawn->picture.EnhMetafile()) : std::vector<e2e::MetafileText>{};
    for (const e2e::ShownText& s : shown)
        EXPECT_TRUE(e2e::DrawnWhereShown(texts, s)) << s.kind << " '" << s.text.substr(0, 80) << "' in " << s.rect.left
                                                    << "," << s.rect.top << "," << s.rect.right << "," << s.rect.bottom;
    EXPECT_TRUE(SendMessageTimeoutW(target.Hwnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr)) << "the target ended";
    return {shown, texts};
}

TEST(ListsRedraw, EveryTextOnShowReachesTheMetafileInsideItsItemAndNoRowScrolledAway) {
    const auto [shown, texts] = ExpectDrawnWhereShown(L"/lists", 580, 60);
    // Of the report view's thousand rows only those on show are drawn: some, and fewer than 20 (its
    // 200 pixels hold about ten).
    auto rows = [](const auto& list) {
        return std::count_if(list.begin(), list.end(), [](const auto& t) { return t.text.rfind(L"Row ", 0) == 0; });
    };
    EXPECT_EQ(rows(texts), rows(shown));
    EXPECT_TRUE(rows(shown) > 0 && rows(shown) < 20) << rows(shown) << " rows";
}

// Each kind of control says something: status bar, tool bars, rebar, combo boxes, edits, statics,
// link, date and month. A status bar of the target's own copies its parts whole, as the contract
// allows; it, a tool bar and a simple combo box's list hold texts of 3,000 units and texts that
// grow by as much between the question for their length and their copy. The target ends itself
// should any of them write past the memory it was given.
TEST(BarsRedraw, EveryTextOfTheBarsAndSmallControlsReachesTheMetafileInItsItemCutToItAndNoneIsWrittenPastItsBuffer) {
    ExpectDrawnWhereShown(L"/bars", 640, 30);
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
        ASSERT_FALSE(e2e::ShownBy(target).empty());
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
        if (std::wstring(answer) == L"/hang") {
            EXPECT_EQ(PrivateAllocations(process), before + 1);
        }
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

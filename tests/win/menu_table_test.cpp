// The menu tree as built for the main form: captions, separators, submenus and the check
// marks it starts with. (Another process cannot read our menus under Wine, so this is checked
// here, in-process.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/menu_table.h"

namespace plumbo {
namespace {

using Captions = std::vector<std::wstring>;

// One entry per item: "-" for a separator, a trailing " *" when checked.
Captions Items(HMENU menu) {
    Captions out;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t buf[128] = L"";
        MENUITEMINFOW mi{};
        mi.cbSize = sizeof mi;
        mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        mi.dwTypeData = buf;
        mi.cch = 128;
        GetMenuItemInfoW(menu, i, TRUE, &mi);
        const wchar_t* mark = (mi.fState & MFS_CHECKED) ? L" *" : L"";
        out.push_back((mi.fType & MFT_SEPARATOR) ? L"-" : std::wstring(buf) + mark);
    }
    return out;
}

TEST(MenuTable, EveryMenuWithItsCaptionsAndCheckMarks) {
    MenuTree tree = BuildMenuTree(MenuTable());
    EXPECT_EQ(Items(tree.Find(mCtrl)),
              (Captions{L"表示", L"非表示 *", L"設定", L"-", L"ﾊﾞｰｼﾞｮﾝ情報", L"ヘルプ", L"-", L"終了"}));
    EXPECT_EQ(Items(tree.Find(mMenu)),
              (Captions{L"設定", L"-", L"画面キャプチャ", L"画面のメタ化", L"-", L"アクティブウインドのサイズ"}));
    EXPECT_EQ(Items(GetSubMenu(tree.Find(mMenu), 0)),
              (Captions{L"ミリ表示 *", L"インチ（１／８）表示", L"インチ（１／１０）表示", L"ピクセル表示", L"-",
                        L"ターゲットウインドの外側に表示 *", L"ターゲットウインドの内側に表示", L"-", L"透明定規"}));
    EXPECT_EQ(Items(tree.Find(mFile)), (Captions{L"クリップボードへコピー", L"保存"}));
    EXPECT_EQ(Items(GetSubMenu(tree.Find(mFile), 1)), (Captions{L"ビットマップ", L"エンハンストメタ", L"ウインドウズメタ"}));
    EXPECT_EQ(Items(tree.Find(mMetaShow)), (Captions{L"１５０％", L"１００％", L"５０％", L"-", L"比率入力"}));
}

}  // namespace
}  // namespace plumbo

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

struct Item {
    std::wstring caption;  // "-" for a separator
    bool checked;
    int children;
};

std::vector<Item> Items(HMENU menu) {
    std::vector<Item> out;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t buf[128] = L"";
        MENUITEMINFOW mi{};
        mi.cbSize = sizeof mi;
        mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        mi.dwTypeData = buf;
        mi.cch = 128;
        GetMenuItemInfoW(menu, i, TRUE, &mi);
        out.push_back({(mi.fType & MFT_SEPARATOR) ? L"-" : buf, (mi.fState & MFS_CHECKED) != 0,
                       mi.hSubMenu ? GetMenuItemCount(mi.hSubMenu) : 0});
    }
    return out;
}

TEST(MenuTable, ControlMenu) {
    MenuTree tree = BuildMenuTree(MenuTable());
    std::vector<Item> items = Items(tree.Find(mCtrl));
    std::vector<std::wstring> captions;
    for (auto& i : items) captions.push_back(i.caption);
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"表示", L"非表示", L"設定", L"-", L"ﾊﾞｰｼﾞｮﾝ情報", L"ヘルプ", L"-", L"終了"}));
    EXPECT_FALSE(items[0].checked);
    EXPECT_TRUE(items[1].checked);
}

TEST(MenuTable, RulerMenuWithItsSettingsSubmenu) {
    MenuTree tree = BuildMenuTree(MenuTable());
    HMENU menu = tree.Find(mMenu);
    std::vector<Item> items = Items(menu);
    std::vector<std::wstring> captions;
    for (auto& i : items) captions.push_back(i.caption);
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"設定", L"-", L"画面キャプチャ", L"画面のメタ化", L"-",
                                                   L"アクティブウインドのサイズ"}));
    std::vector<Item> sub = Items(GetSubMenu(menu, 0));
    std::vector<std::wstring> subCaptions;
    std::vector<bool> checks;
    for (auto& i : sub) {
        subCaptions.push_back(i.caption);
        checks.push_back(i.checked);
    }
    EXPECT_EQ(subCaptions, (std::vector<std::wstring>{L"ミリ表示", L"インチ（１／８）表示", L"インチ（１／１０）表示",
                                                      L"ピクセル表示", L"-", L"ターゲットウインドの外側に表示",
                                                      L"ターゲットウインドの内側に表示", L"-", L"透明定規"}));
    EXPECT_EQ(checks, (std::vector<bool>{true, false, false, false, false, true, false, false, false}));
}

TEST(MenuTable, ViewerMenus) {
    MenuTree tree = BuildMenuTree(MenuTable());
    std::vector<Item> file = Items(tree.Find(mFile));
    ASSERT_EQ(file.size(), 2u);
    EXPECT_EQ(file[0].caption, L"クリップボードへコピー");
    EXPECT_EQ(file[1].caption, L"保存");
    EXPECT_EQ(file[1].children, 3);
    std::vector<Item> save = Items(GetSubMenu(tree.Find(mFile), 1));
    EXPECT_EQ(save[0].caption, L"ビットマップ");
    EXPECT_EQ(save[1].caption, L"エンハンストメタ");
    EXPECT_EQ(save[2].caption, L"ウインドウズメタ");
    std::vector<Item> show = Items(tree.Find(mMetaShow));
    std::vector<std::wstring> captions;
    for (auto& i : show) captions.push_back(i.caption);
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"１５０％", L"１００％", L"５０％", L"-", L"比率入力"}));
}

}  // namespace
}  // namespace plumbo

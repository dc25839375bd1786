#pragma once
// The whole menu tree of the main form: the viewer's menu bar (mFile, mMetaShow) and the two
// pop-up menus (mCtrl from the tray icon, mMenu from the rulers). Ids double as command ids.
#include <array>

#include "app/texts.h"
#include "platform/menu_win.h"

namespace plumbo {

enum MenuId : UINT {
    mFile = 1000,
    mFileCopy,
    mFileSave,
    mFileSaveBMP,
    mFileSaveEMF,
    mFileSaveWMF,
    mMetaShow,
    mMetaShow150,
    mMetaShow100,
    mMetaShow50,
    mMetaShowLine,
    mMetaShowInput,
    mCtrl,
    mCtrlActivate,
    mCtrlHide,
    mCtrlSet,
    mCtrlLinr1,
    mCtrlAbout,
    mCtrlHelp,
    mCtrlLinr2,
    mCtrlExit,
    mMenu,
    mMenuSet,
    mMenuSetMill,
    mMenuSetInch1Per8,
    mMenuSetInch1Per10,
    mMenuSetPixel,
    mMenuSetLine1,
    mMenuSetShowOut,
    mMenuSetShowIn,
    mMenuSetLine3,
    mMenuSetToumei,
    mMenuSetLine4,
    mMenuCopy,
    mMenuMeta,
    mMenuSetLine5,
    mMenuActiveSize,
};

inline std::array<MenuItemDef, 37> MenuTable() {
    const UiTexts& t = Texts();
    return {{
        {1, mFile, t.mFile, false},
        {2, mFileCopy, t.mFileCopy, false},
        {2, mFileSave, t.mFileSave, false},
        {3, mFileSaveBMP, t.mFileSaveBMP, false},
        {3, mFileSaveEMF, t.mFileSaveEMF, false},
        {3, mFileSaveWMF, t.mFileSaveWMF, false},
        {1, mMetaShow, t.mMetaShow, false},
        {2, mMetaShow150, t.mMetaShow150, false},
        {2, mMetaShow100, t.mMetaShow100, false},
        {2, mMetaShow50, t.mMetaShow50, false},
        {2, mMetaShowLine, L"-", false},
        {2, mMetaShowInput, t.mMetaShowInput, false},
        {1, mCtrl, t.mCtrl, false},
        {2, mCtrlActivate, t.mCtrlActivate, false},
        {2, mCtrlHide, t.mCtrlHide, true},
        {2, mCtrlSet, t.mCtrlSet, false},
        {2, mCtrlLinr1, L"-", false},
        {2, mCtrlAbout, t.mCtrlAbout, false},
        {2, mCtrlHelp, t.mCtrlHelp, false},
        {2, mCtrlLinr2, L"-", false},
        {2, mCtrlExit, t.mCtrlExit, false},
        {1, mMenu, t.mMenu, false},
        {2, mMenuSet, t.mMenuSet, false},
        {3, mMenuSetMill, t.mMenuSetMill, true},
        {3, mMenuSetInch1Per8, t.mMenuSetInch1Per8, false},
        {3, mMenuSetInch1Per10, t.mMenuSetInch1Per10, false},
        {3, mMenuSetPixel, t.mMenuSetPixel, false},
        {3, mMenuSetLine1, L"-", false},
        {3, mMenuSetShowOut, t.mMenuSetShowOut, true},
        {3, mMenuSetShowIn, t.mMenuSetShowIn, false},
        {3, mMenuSetLine3, L"-", false},
        {3, mMenuSetToumei, t.mMenuSetToumei, false},
        {2, mMenuSetLine4, L"-", false},
        {2, mMenuCopy, t.mMenuCopy, false},
        {2, mMenuMeta, t.mMenuMeta, false},
        {2, mMenuSetLine5, L"-", false},
        {2, mMenuActiveSize, t.mMenuActiveSize, false},
    }};
}

}  // namespace plumbo

#pragma once
// Every text the user sees, in one table. A second language is one more UiTexts value.
namespace plumbo {

struct UiTexts {
    // Windows and the tray.
    const wchar_t* viewerCaption;
    const wchar_t* trayTip;
    const wchar_t* messageTitle;
    const wchar_t* settingsCaption;
    const wchar_t* sizeCaption;

    // Menus (see the menu table).
    const wchar_t* mFile;
    const wchar_t* mFileCopy;
    const wchar_t* mFileSave;
    const wchar_t* mFileSaveBMP;
    const wchar_t* mFileSaveEMF;
    const wchar_t* mFileSaveWMF;
    const wchar_t* mMetaShow;
    const wchar_t* mMetaShow150;
    const wchar_t* mMetaShow100;
    const wchar_t* mMetaShow50;
    const wchar_t* mMetaShowInput;
    const wchar_t* mCtrl;
    const wchar_t* mCtrlActivate;
    const wchar_t* mCtrlHide;
    const wchar_t* mCtrlSet;
    const wchar_t* mCtrlAbout;
    const wchar_t* mCtrlHelp;
    const wchar_t* mCtrlExit;
    const wchar_t* mMenu;
    const wchar_t* mMenuSet;
    const wchar_t* mMenuSetMill;
    const wchar_t* mMenuSetInch1Per8;
    const wchar_t* mMenuSetInch1Per10;
    const wchar_t* mMenuSetPixel;
    const wchar_t* mMenuSetShowOut;
    const wchar_t* mMenuSetShowIn;
    const wchar_t* mMenuSetToumei;
    const wchar_t* mMenuCopy;
    const wchar_t* mMenuMeta;
    const wchar_t* mMenuActiveSize;

    // Messages. %s stands for a file path.
    const wchar_t* iniUnusable;
};

const UiTexts& Texts();

}  // namespace plumbo

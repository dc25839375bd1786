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

    // Settings dialog "設定".
    const wchar_t* setFrame;
    const wchar_t* setPreview;
    const wchar_t* setRulerColor;
    const wchar_t* setLineColor;
    const wchar_t* setNumberColor;
    const wchar_t* setOk;
    const wchar_t* setCancel;
    const wchar_t* setToumei;
    const wchar_t* setShowOut;
    const wchar_t* setShowIn;

    // Version box and help.
    const wchar_t* aboutVersion;
    const wchar_t* aboutHomeCaption;
    const wchar_t* aboutHomeLink;
    const wchar_t* aboutMailCaption;
    const wchar_t* aboutMailLink;
    const wchar_t* aboutNotice;
    const wchar_t* noAssociatedProgram;
    const wchar_t* helpMissing;

    // Window-size dialog "直接指定".
    const wchar_t* sizeFrame;
    const wchar_t* sizeUnitMm;
    const wchar_t* sizeUnitInch;
    const wchar_t* sizeUnitPixel;
    const wchar_t* sizeWidthLabel;
    const wchar_t* sizeHeightLabel;
    const wchar_t* sizeCancel;
    const wchar_t* sizeOk;

    // The viewer's typed percentage and the input box.
    const wchar_t* zoomPrompt;
    const wchar_t* zoomTitle;
    const wchar_t* inputBoxOk;
    const wchar_t* inputBoxCancel;

    // Picture export. Filters: description|pattern. saveFailed: %s the file, then the reason.
    const wchar_t* saveDialogTitle;
    const wchar_t* saveFilterBmp;
    const wchar_t* saveFilterEmf;
    const wchar_t* saveFilterWmf;
    const wchar_t* overwriteQuestion;
    const wchar_t* saveFailed;
};

const UiTexts& Texts();

}  // namespace plumbo

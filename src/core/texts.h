#pragma once
// Every text the user sees, in one table per language: Japanese, and English for everyone else.
// Every member is a text; the tables are checked member by member as an array of them.
#include <cstdint>
#include <initializer_list>
#include <string>

namespace plumbo {

struct UiTexts {
    // Windows and the tray.
    const wchar_t* viewerCaption;
    const wchar_t* trayTip;
    const wchar_t* messageTitle;
    const wchar_t* settingsCaption;
    const wchar_t* sizeCaption;

    // Menus (see the menu table).
    const wchar_t* fileMenu;
    const wchar_t* copyToClipboard;
    const wchar_t* saveMenu;
    const wchar_t* saveBitmap;
    const wchar_t* saveEnhancedMetafile;
    const wchar_t* saveWindowsMetafile;
    const wchar_t* zoomMenu;
    const wchar_t* zoom150;
    const wchar_t* zoom100;
    const wchar_t* zoom50;
    const wchar_t* zoomTyped;
    const wchar_t* controlMenu;
    const wchar_t* showRulers;
    const wchar_t* hideRulers;
    const wchar_t* openSettings;
    const wchar_t* showVersion;
    const wchar_t* openHelp;
    const wchar_t* exitProgram;
    const wchar_t* rulerMenu;
    const wchar_t* rulerSettingsMenu;
    const wchar_t* unitMillimetres;
    const wchar_t* unitInchEighths;
    const wchar_t* unitInchTenths;
    const wchar_t* unitPixels;
    const wchar_t* placeOutside;
    const wchar_t* placeInside;
    const wchar_t* transparentLook;
    const wchar_t* captureBitmap;
    const wchar_t* redrawAsVector;
    const wchar_t* setTargetSize;

    // Messages. %s stands for a file path; in iniWriteFailed then the system's reason.
    const wchar_t* iniUnusable;
    const wchar_t* iniWriteFailed;

    // Settings dialog "設定".
    const wchar_t* setFrame;
    const wchar_t* setPreview;
    const wchar_t* setRulerColor;
    const wchar_t* setLineColor;
    const wchar_t* setNumberColor;
    const wchar_t* setOk;
    const wchar_t* setCancel;
    const wchar_t* setTransparent;
    const wchar_t* setShowOut;
    const wchar_t* setShowIn;
    const wchar_t* setPictures;

    // Version box and help.
    const wchar_t* aboutVersion;
    const wchar_t* aboutHomeCaption;
    const wchar_t* aboutHomeLink;
    const wchar_t* aboutMailCaption;
    const wchar_t* aboutMailLink;
    const wchar_t* aboutNotice;
    const wchar_t* noAssociatedProgram;
    const wchar_t* helpMissing;
    const wchar_t* helpPage;  // the help file's name beside the program

    // Window-size dialog "直接指定".
    const wchar_t* sizeFrame;
    const wchar_t* sizeUnitMm;
    const wchar_t* sizeUnitInch;
    const wchar_t* sizeUnitPixel;
    const wchar_t* sizeWidthLabel;
    const wchar_t* sizeHeightLabel;
    const wchar_t* sizeCancel;
    const wchar_t* sizeOk;
    // Its refusals. %s: the box, as sizeWidthName or sizeHeightName; in sizeTooLarge then the
    // limit in pixels.
    const wchar_t* sizeWidthName;
    const wchar_t* sizeHeightName;
    const wchar_t* sizeNotANumber;
    const wchar_t* sizeNotPositive;
    const wchar_t* sizeTooLarge;
    // The window kept another size than the one typed (a size it refuses or limits, a program
    // above ours, no answer). %s, %s: the width and height it has now, in pixels.
    const wchar_t* sizeNotTaken;

    // The viewer's typed percentage and the input box.
    const wchar_t* zoomPrompt;
    const wchar_t* zoomTitle;
    const wchar_t* zoomTooLarge;  // %s: the largest percentage that may be typed
    const wchar_t* inputBoxOk;
    const wchar_t* inputBoxCancel;

    // Picture export. Filters: description|pattern. saveFailed: %s the file, then the reason.
    const wchar_t* saveDialogTitle;
    const wchar_t* saveFilterBmp;
    const wchar_t* saveFilterEmf;
    const wchar_t* saveFilterWmf;
    const wchar_t* overwriteQuestion;
    const wchar_t* saveFailed;
    // The clipboard was held by another program. %s: the system's reason.
    const wchar_t* clipboardFailed;

    // Global hotkeys: the group of "設定", a label per action, the button that switches one off,
    // and the message for keys another program holds (%s: their names, such as "Ctrl+Alt+R").
    const wchar_t* setHotKeyFrame;
    const wchar_t* setHotKeyRulers;
    const wchar_t* setHotKeyCapture;
    const wchar_t* setHotKeyRedraw;
    const wchar_t* setHotKeySize;
    const wchar_t* setHotKeyNone;
    const wchar_t* hotKeyTaken;

    // True millimetres in "設定": the group, the measured length's label, the button back to
    // Windows' millimetres, and the refusal of a length (%s: the shortest, then the longest).
    const wchar_t* setCalibrationFrame;
    const wchar_t* setCalibrationLabel;
    const wchar_t* setCalibrationReset;
    const wchar_t* calibrationRefused;

    // The fourth item of "保存", and its file type in the save dialog (description|pattern).
    const wchar_t* savePng;
    const wchar_t* saveFilterPng;
    // The fifth, for re-drawn pictures only, likewise.
    const wchar_t* saveSvg;
    const wchar_t* saveFilterSvg;

    // "設定": the program starts when the user logs on to Windows; the box's change could not be
    // written (%s: the system's reason).
    const wchar_t* setStartWithWindows;
    const wchar_t* startWithWindowsFailed;

    // The measuring mode: the last item of the rulers' menu, its key's label in "設定", and its
    // bar: keys 1 to 5 with their ways, the tolerance (%s: 0 to 255) and how to leave.
    const wchar_t* measure;
    const wchar_t* setHotKeyMeasure;
    const wchar_t* measureBox;
    const wchar_t* measureSpacing;
    const wchar_t* measureHorizontal;
    const wchar_t* measureVertical;
    const wchar_t* measureControls;
    const wchar_t* measureTolerance;
    const wchar_t* measureLeave;
    const wchar_t* measureNotCopied;  // in place of measureLeave after a copy the clipboard refused
    // The switch in "設定" for the rulers' cursor mark.
    const wchar_t* setShowCursor;

    // plumbo.exe run from a command line: the usage ("/?"), and the one line a run that wrote no
    // file prints. %s: switches as typed (in cliBadValue then the value; in cliBadExtension the
    // run's switch, then its extensions), a window as its handle and title, a file, then the
    // system's reason.
    const wchar_t* cliUsage;
    const wchar_t* cliUnknownSwitch;
    const wchar_t* cliMissingValue;
    const wchar_t* cliBadValue;
    const wchar_t* cliConflict;
    const wchar_t* cliRepeated;
    const wchar_t* cliNoRun;
    const wchar_t* cliNoOut;
    const wchar_t* cliBadExtension;
    const wchar_t* cliNoWindow;
    const wchar_t* cliNoForeground;
    const wchar_t* cliMinimized;
    const wchar_t* cliNotRead;
    const wchar_t* cliNotWritten;
    // A capture, re-drawing or size asked for a minimised window.
    const wchar_t* targetMinimized;
    // Another copy runs with rights above ours (as administrator): it cannot be brought forward.
    const wchar_t* copyRunsElevated;
    // A capture or re-drawing that gave no picture, by its reason (NoPicture).
    const wchar_t* noPictureNotAnswering;
    const wchar_t* noPictureClosed;
    const wchar_t* noPictureUnreadable;
    const wchar_t* noPictureTooLarge;
};

// Why a capture or re-drawing gave no picture: the window stopped answering, it closed, it could
// not be read, or it is too large for a picture.
enum class NoPicture { NotAnswering, Closed, Unreadable, TooLarge };

enum class UiLanguage { Japanese, English };

// The table for a Windows UI language (a LANGID): Japanese whatever the sub-language, English
// for every other language and for the neutral ones.
UiLanguage LanguageForUi(uint16_t langId);
const UiTexts& TextsOf(UiLanguage language);

// Chosen once at start-up, before any window is made; Japanese until then.
void UseLanguage(UiLanguage language);
UiLanguage CurrentLanguage();
// The current language's table.
const UiTexts& Texts();

// The current language's text for a reason.
const wchar_t* NoPictureText(NoPicture why);

// Fills the %s places of a text in order; other text is left as it is.
std::wstring FillIn(const wchar_t* pattern, std::initializer_list<std::wstring> values);

}  // namespace plumbo

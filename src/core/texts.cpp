#include "core/texts.h"

#include "version.h"

namespace plumbo {

namespace {

constexpr UiTexts kJapanese = {
    L"Plumbo!",
    L"Plumbo!!",
    L"Plumbo!!",
    L"設定",
    L"直接指定",

    L"ファイル",
    L"クリップボードへコピー",
    L"保存",
    L"ビットマップ",
    L"エンハンストメタ",
    L"ウインドウズメタ",
    L"表示",
    L"１５０％",
    L"１００％",
    L"５０％",
    L"比率入力",
    L"コントロールボックス",
    L"表示",
    L"非表示",
    L"設定",
    L"ﾊﾞｰｼﾞｮﾝ情報",
    L"ヘルプ",
    L"終了",
    L"メニュ－",
    L"設定",
    L"ミリ表示",
    L"インチ（１／８）表示",
    L"インチ（１／１０）表示",
    L"ピクセル表示",
    L"ターゲットウインドの外側に表示",
    L"ターゲットウインドの内側に表示",
    L"透明定規",
    L"画面キャプチャ",
    L"画面のメタ化",
    L"アクティブウインドのサイズ",

    L"設定ファイル「%s」を読み書きできません。\n今回は既定の設定で動作します。",
    L"設定ファイル「%s」に書き込めませんでした。\n%s\n変更した設定は、終了するまで有効です。",

    L"設定",
    L"プレビュー",
    L"定規の色",
    L"メモリ線の色",
    L"メモリの色",
    L"Ｏ．Ｋ",
    L"キャンセル",
    L"透明定規",
    L"ｳｲﾝﾄﾞｳの外側に表示",
    L"ｳｲﾝﾄﾞｳの内側に表示",
    L"読み取れない部分は画像で描く",

    L"Ver " PLUMBO_VERSION_WIDE,
    L"Home Page",
    L"https://plumbo.example.org/",
    L"Mail",
    L"plumbo@example.org",
    L"Plumbo! はフリーソフトウェアです。",
    L"関連づけられた実行ファイルがありません",
    L"ヘルプファイルが見つかりません",
    L"plHelp.html",

    L"サイズ",
    L"ミリ",
    L"インチ",
    L"ピクセル",
    L"幅(W)",
    L"高さ(H)",
    L"ｷｬﾝｾﾙ",
    L"Ｏ．Ｋ",
    L"幅(W)",
    L"高さ(H)",
    L"%sに数値を入力してください。",
    L"%sには、1 ピクセル以上になる正の値を入力してください。",
    L"%sの値が大きすぎます。%s ピクセル以下になる値を入力してください。",
    L"ウインドウは指定のサイズになりませんでした。\n今のサイズは %s × %s ピクセルです。",

    L"表示する比率を、パーセントで入力してください。",
    L"Plumbo!!",
    L"比率が大きすぎます。%s％以下で入力してください。",
    L"OK",
    L"キャンセル",

    L"開く",
    L"ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙ (*.bmp)|*.bmp",
    L"ｴﾝﾊﾝｽﾄﾒﾀﾌｧｲﾙ (*.emf)|*.emf",
    L"ｳｲﾝﾄﾞｳｽﾞﾒﾀﾌｧｲﾙ (*.wmf)|*.wmf",
    L"このファイルは存在します。上書きしますか？",
    L"ファイル「%s」に保存できませんでした。\n%s",
    L"クリップボードにコピーできませんでした。\n%s",

    L"ホットキー",
    L"定規の表示／非表示",
    L"画面キャプチャ",
    L"画面のメタ化",
    L"サイズの直接指定",
    L"なし",
    L"ホットキー %s は、ほかで使われているため割り当てられませんでした。\n割り当てられなかった操作はキーなしになります。",

    L"実寸 (ミリの校正)",
    L"上の線を定規で測った長さ (mm):",
    L"元に戻す",
    L"上の線の長さは、%s から %s までのミリ数で入力してください。",

    L"PNG",
    L"PNGﾌｧｲﾙ (*.png)|*.png",
    L"SVG",
    L"SVGﾌｧｲﾙ (*.svg)|*.svg",

    L"Windows の起動時に開始する",
    L"「Windows の起動時に開始する」の変更を保存できませんでした。\n%s",

    L"測定",
    L"測定",
    L"1 範囲",
    L"2 間隔",
    L"3 水平",
    L"4 垂直",
    L"5 コントロール",
    L"許容差 %s (ホイール)",
    L"クリックでコピー / Esc で終了",
    L"クリップボードにコピーできませんでした",
    L"カーソル位置",

    L"使い方:\n"
    L"  plumbo.exe /redraw  [ウインドウ] [/delay ミリ秒] [/pictures] /out ファイル(.emf .wmf .svg .png)\n"
    L"  plumbo.exe /capture [ウインドウ] [/delay ミリ秒] /out ファイル(.bmp .png)\n"
    L"  plumbo.exe /list    表示中のウインドウを一覧します (ハンドル、プロセス、クラス、タイトル)\n"
    L"ウインドウ (指定がなければ手前のウインドウ):\n"
    L"  /window \"文字\"  タイトルに文字を含む最初の表示中のウインドウ\n"
    L"  /class クラス名   /process 名前.exe   /hwnd 16進数 (/list の表示のとおり)\n"
    L"/delay は待ってからウインドウを取ります。/pictures は読み取れない部分を絵として描きます。\n"
    L"終了コード: 0 書き出した、1 引数の誤り、2 ウインドウがない、3 ウインドウが応答しないか読み取れない、4 書き出せない\n"
    L"スイッチなしで起動すると、通知領域に常駐します。",
    L"「%s」は plumbo.exe のスイッチではありません (一覧は plumbo.exe /?)。",
    L"「%s」の後に値が必要です。",
    L"「%s」に「%s」は使えません。",
    L"「%s」と「%s」は一緒に指定できません。",
    L"「%s」が二度指定されています。",
    L"/redraw、/capture、/list、/? のどれかを指定してください (詳しくは plumbo.exe /?)。",
    L"「%s」には /out と書き出すファイルが必要です。",
    L"「%s」のファイル名は %s のどれかで終わるようにしてください。",
    L"%s に当たる表示中のウインドウはありません。",
    L"手前にウインドウがありません。",
    L"ウインドウ %s は最小化されています。元に戻してから実行してください。",
    L"ウインドウ %s は応答しないか、読み取れませんでした。",
    L"ファイル「%s」に書き出せませんでした。%s",
    L"ウインドウが最小化されています。元のサイズに戻してから、もう一度実行してください。",
    L"Plumbo は管理者として既に実行されています。通知領域のアイコンからお使いください。",
    L"ウインドウが応答していません。応答するようになってから、もう一度実行してください。",
    L"ウインドウが閉じられました。",
    L"ウインドウを読み取れませんでした。",
    L"ウインドウが大きすぎて、画像にできません。",
};

// US English, as Windows itself speaks it. Named members, so a missing one is left null and the
// tables' test finds it.
constexpr UiTexts kEnglish = {
    .viewerCaption = L"Plumbo!",
    .trayTip = L"Plumbo!!",
    .messageTitle = L"Plumbo!!",
    .settingsCaption = L"Settings",
    .sizeCaption = L"Window Size",

    .fileMenu = L"&File",
    .copyToClipboard = L"&Copy to Clipboard",
    .saveMenu = L"&Save As",
    .saveBitmap = L"&Bitmap...",
    .saveEnhancedMetafile = L"&Enhanced Metafile...",
    .saveWindowsMetafile = L"&Windows Metafile...",
    .zoomMenu = L"&View",
    .zoom150 = L"150%",
    .zoom100 = L"100%",
    .zoom50 = L"50%",
    .zoomTyped = L"&Custom Zoom...",
    .controlMenu = L"Control",
    .showRulers = L"&Show Rulers",
    .hideRulers = L"&Hide Rulers",
    .openSettings = L"S&ettings...",
    .showVersion = L"&About Plumbo!",
    .openHelp = L"He&lp",
    .exitProgram = L"E&xit",
    .rulerMenu = L"Menu",
    .rulerSettingsMenu = L"&Settings",
    .unitMillimetres = L"&Millimeters",
    .unitInchEighths = L"&Inches (1/8)",
    .unitInchTenths = L"I&nches (1/10)",
    .unitPixels = L"&Pixels",
    .placeOutside = L"&Outside the Target Window",
    .placeInside = L"Insi&de the Target Window",
    .transparentLook = L"&Transparent Rulers",
    .captureBitmap = L"&Capture Window",
    .redrawAsVector = L"&Redraw as Metafile",
    .setTargetSize = L"&Window Size...",

    .iniUnusable = L"The settings file \"%s\" cannot be read or written.\nPlumbo! uses the default settings this time.",
    .iniWriteFailed = L"The settings file \"%s\" could not be written.\n%s\nChanged settings stay in effect until Plumbo! ends.",

    .setFrame = L"Rulers",
    .setPreview = L"Preview",
    .setRulerColor = L"Ruler Color",
    .setLineColor = L"Tick Color",
    .setNumberColor = L"Text Color",
    .setOk = L"OK",
    .setCancel = L"Cancel",
    .setTransparent = L"Transparent",
    .setShowOut = L"Outside the window",
    .setShowIn = L"Inside the window",
    .setPictures = L"Draw what cannot be read as a picture",

    .aboutVersion = L"Ver " PLUMBO_VERSION_WIDE,
    .aboutHomeCaption = L"Home Page",
    .aboutHomeLink = L"https://plumbo.example.org/",
    .aboutMailCaption = L"Mail",
    .aboutMailLink = L"plumbo@example.org",
    .aboutNotice = L"Plumbo! is free software.",
    .noAssociatedProgram = L"No program is associated with this item.",
    .helpMissing = L"The help file cannot be found.",
    .helpPage = L"plHelp_en.html",

    .sizeFrame = L"Size",
    .sizeUnitMm = L"mm",
    .sizeUnitInch = L"Inches",
    .sizeUnitPixel = L"Pixels",
    .sizeWidthLabel = L"Width:",
    .sizeHeightLabel = L"Height:",
    .sizeCancel = L"Cancel",
    .sizeOk = L"OK",
    .sizeWidthName = L"Width",
    .sizeHeightName = L"Height",
    .sizeNotANumber = L"Please enter a number in the %s box.",
    .sizeNotPositive = L"Please enter a positive value of at least 1 pixel in the %s box.",
    .sizeTooLarge = L"The value in the %s box is too large. Please enter a value of at most %s pixels.",
    .sizeNotTaken = L"The window did not take the size given.\nIts size is now %s × %s pixels.",

    .zoomPrompt = L"Enter the zoom as a percentage.",
    .zoomTitle = L"Plumbo!!",
    .zoomTooLarge = L"The zoom is too large. Please enter at most %s%.",
    .inputBoxOk = L"OK",
    .inputBoxCancel = L"Cancel",

    .saveDialogTitle = L"Save As",
    .saveFilterBmp = L"Bitmap Files (*.bmp)|*.bmp",
    .saveFilterEmf = L"Enhanced Metafiles (*.emf)|*.emf",
    .saveFilterWmf = L"Windows Metafiles (*.wmf)|*.wmf",
    .overwriteQuestion = L"This file already exists. Do you want to replace it?",
    .saveFailed = L"The file \"%s\" could not be saved.\n%s",
    .clipboardFailed = L"The picture could not be copied to the clipboard.\n%s",

    .setHotKeyFrame = L"Hotkeys",
    .setHotKeyRulers = L"Show/Hide Rulers",
    .setHotKeyCapture = L"Capture Window",
    .setHotKeyRedraw = L"Redraw as Metafile",
    .setHotKeySize = L"Window Size",
    .setHotKeyNone = L"None",
    .hotKeyTaken = L"Already in use elsewhere, these hotkeys could not be assigned: %s\n"
                   L"Their actions have no hotkey now.",

    .setCalibrationFrame = L"True Millimeters",
    .setCalibrationLabel = L"The line above, measured (mm):",
    .setCalibrationReset = L"Reset",
    .calibrationRefused = L"Please enter the length of the line above in millimeters, from %s to %s.",

    .savePng = L"PNG",
    .saveFilterPng = L"PNG Files (*.png)|*.png",
    .saveSvg = L"SVG",
    .saveFilterSvg = L"SVG Files (*.svg)|*.svg",

    .setStartWithWindows = L"Start with Windows",
    .startWithWindowsFailed = L"The change to \"Start with Windows\" could not be saved.\n%s",

    .measure = L"&Measure",
    .setHotKeyMeasure = L"Measure",
    .measureBox = L"1 Box",
    .measureSpacing = L"2 Spacing",
    .measureHorizontal = L"3 Horizontal",
    .measureVertical = L"4 Vertical",
    .measureControls = L"5 Controls",
    .measureTolerance = L"Tolerance %s (wheel)",
    .measureLeave = L"Click copies / Esc leaves",
    .measureNotCopied = L"Not copied: the clipboard is in use",
    .setShowCursor = L"Cursor mark",

    .cliUsage = L"Usage:\n"
                L"  plumbo.exe /redraw  [window] [/delay ms] [/pictures] /out file(.emf .wmf .svg .png)\n"
                L"  plumbo.exe /capture [window] [/delay ms] /out file(.bmp .png)\n"
                L"  plumbo.exe /list    lists the visible windows (handle, process, class, title)\n"
                L"Window (the window in front when none is given):\n"
                L"  /window \"text\"  the first visible window whose title contains the text\n"
                L"  /class name   /process name.exe   /hwnd hex (as /list prints it)\n"
                L"/delay waits before the window is taken. /pictures draws what cannot be read as a picture.\n"
                L"Exit codes: 0 written, 1 bad arguments, 2 no such window, 3 the window did not answer or could not be read, 4 not written\n"
                L"Without a switch Plumbo! starts in the notification area.",
    .cliUnknownSwitch = L"\"%s\" is not a switch of plumbo.exe (plumbo.exe /? lists them).",
    .cliMissingValue = L"%s needs a value.",
    .cliBadValue = L"%s cannot take \"%s\".",
    .cliConflict = L"%s and %s cannot be given together.",
    .cliRepeated = L"%s is given twice.",
    .cliNoRun = L"Give /redraw, /capture, /list or /? (plumbo.exe /? tells more).",
    .cliNoOut = L"%s needs /out and the file to write.",
    .cliBadExtension = L"The file of %s must end in one of %s.",
    .cliNoWindow = L"No visible window matches %s.",
    .cliNoForeground = L"No window is in front.",
    .cliMinimized = L"The window %s is minimized: restore it first.",
    .cliNotRead = L"The window %s did not answer or could not be read.",
    .cliNotWritten = L"The file \"%s\" could not be written. %s",
    .targetMinimized = L"The window is minimized. Restore it, then try again.",
    .copyRunsElevated = L"Plumbo is already running as administrator. Use its icon in the notification area.",
    .noPictureNotAnswering = L"The window is not responding. Try again once it responds.",
    .noPictureClosed = L"The window has closed.",
    .noPictureUnreadable = L"The window could not be read.",
    .noPictureTooLarge = L"The window is too large for a picture.",
};

UiLanguage currentLanguage = UiLanguage::Japanese;

}  // namespace

UiLanguage LanguageForUi(uint16_t langId) {
    // PRIMARYLANGID and LANG_JAPANESE of winnt.h, spelt out for the plain build.
    constexpr uint16_t kPrimaryLanguageMask = 0x03FF;
    constexpr uint16_t kJapanese = 0x11;
    return (langId & kPrimaryLanguageMask) == kJapanese ? UiLanguage::Japanese : UiLanguage::English;
}

const UiTexts& TextsOf(UiLanguage language) { return language == UiLanguage::Japanese ? kJapanese : kEnglish; }

void UseLanguage(UiLanguage language) { currentLanguage = language; }
UiLanguage CurrentLanguage() { return currentLanguage; }
const UiTexts& Texts() { return TextsOf(currentLanguage); }

const wchar_t* NoPictureText(NoPicture why) {
    switch (why) {
    case NoPicture::NotAnswering: return Texts().noPictureNotAnswering;
    case NoPicture::Closed: return Texts().noPictureClosed;
    case NoPicture::TooLarge: return Texts().noPictureTooLarge;
    case NoPicture::Unreadable: break;
    }
    return Texts().noPictureUnreadable;
}

std::wstring FillIn(const wchar_t* pattern, std::initializer_list<std::wstring> values) {
    std::wstring out;
    auto next = values.begin();
    for (const wchar_t* p = pattern; *p; ++p) {
        if (p[0] == L'%' && p[1] == L's' && next != values.end()) {
            out += *next++;
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

}  // namespace plumbo

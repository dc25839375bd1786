#include "app/texts.h"

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
};

}  // namespace

const UiTexts& Texts() { return kJapanese; }

}  // namespace plumbo

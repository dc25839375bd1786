#include "core/texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace plumbo {
namespace {

TEST(Texts, JapaneseForAJapaneseUiLanguageWhateverItsSubLanguageEnglishForEveryOther) {
    // ja-JP, Japanese without a sub-language, a sub-language Windows does not name.
    for (uint16_t langId : {0x0411, 0x0011, 0x0811}) EXPECT_EQ(LanguageForUi(langId), UiLanguage::Japanese) << langId;
    // en-US, en-GB, de-DE, zh-TW, ko-KR, neutral, the process default, a custom locale.
    for (uint16_t langId : {0x0409, 0x0809, 0x0407, 0x0404, 0x0412, 0x0000, 0x0400, 0x0C00})
        EXPECT_EQ(LanguageForUi(langId), UiLanguage::English) << langId;
}

// The tables read as arrays of their members: only texts may be members, or this is wrong.
static_assert(sizeof(UiTexts) % sizeof(const wchar_t*) == 0 && std::is_standard_layout_v<UiTexts>);

TEST(Texts, EveryJapaneseTextHasAnEnglishOneWithTheSamePlacesToFill) {
    const auto* japanese = reinterpret_cast<const wchar_t* const*>(&TextsOf(UiLanguage::Japanese));
    const auto* english = reinterpret_cast<const wchar_t* const*>(&TextsOf(UiLanguage::English));
    auto places = [](std::wstring_view text) {
        int n = 0;
        for (size_t at = 0; (at = text.find(L"%s", at)) != text.npos; at += 2) ++n;
        return n;
    };
    for (size_t i = 0; i < sizeof(UiTexts) / sizeof(const wchar_t*); ++i)
        EXPECT_TRUE(japanese[i] && *japanese[i] && english[i] && *english[i] &&
                    places(japanese[i]) == places(english[i])) << "member " << i;
}

// Each value into its place in order, the rest as written: a value is not filled in again, a
// lone % stays, and a place with no value left stays as it is.
TEST(Texts, FillInPutsTheValuesIntoThePlacesInOrder) {
    for (const auto& [pattern, first, second, filled] : {
             std::tuple(L"「%s」を保存できません。\n%s", L"C:\\a\\plumbo.ini", L"Access denied.", L"「C:\\a\\plumbo.ini」を保存できません。\nAccess denied."),
             std::tuple(L"at most %s%.", L"500", L"9", L"at most 500%."), std::tuple(L"%s%s", L"%s", L"b", L"%sb"),
             std::tuple(L"100% plain", L"x", L"y", L"100% plain")})
        EXPECT_EQ(FillIn(pattern, {first, second}), filled) << pattern;
    EXPECT_EQ(FillIn(L"%s × %s px", {L"7"}), L"7 × %s px");
}

}  // namespace
}  // namespace plumbo

#include "core/texts.h"

#include <gtest/gtest.h>

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
    auto places = [](std::wstring_view t) { int n = 0; for (size_t at = t.find(L"%s"); at != t.npos; at = t.find(L"%s", at + 2)) ++n; return n; };
    for (size_t i = 0; i < sizeof(UiTexts) / sizeof(const wchar_t*); ++i)
        EXPECT_TRUE(japanese[i] && *japanese[i] && english[i] && *english[i] &&
                    places(japanese[i]) == places(english[i])) << "member " << i;
}

// Each value into its place in order, the rest as written: a value is not filled in again, a
// lone % stays, and a place with no value left stays as it is.
TEST(Texts, FillInPutsTheValuesIntoThePlacesInOrder) {
    for (const auto& [pattern, filled] : {std::pair(L"「%s」を保存できません。\n%s", L"「C:\\a.ini」を保存できません。\n%s!"),
             {L"at most %s%.", L"at most C:\\a.ini%."}, {L"%s%s", L"C:\\a.ini%s!"}, {L"100% plain", L"100% plain"}, {L"%s, %s, %s", L"C:\\a.ini, %s!, %s"}})
        EXPECT_EQ(FillIn(pattern, {L"C:\\a.ini", L"%s!"}), filled) << pattern;
}

}  // namespace
}  // namespace plumbo

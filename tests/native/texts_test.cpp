#include "core/texts.h"

#include <gtest/gtest.h>

#include <algorithm>

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
    auto places = [](const wchar_t* text) { return std::ranges::count(FillIn(text, {L"\1", L"\1", L"\1"}), L'\1'); };
    for (size_t i = 0; i < sizeof(UiTexts) / sizeof(const wchar_t*); ++i)
        EXPECT_TRUE(japanese[i] && *japanese[i] && english[i] && *english[i] &&
                    places(japanese[i]) == places(english[i])) << "member " << i;
}

}  // namespace
}  // namespace plumbo

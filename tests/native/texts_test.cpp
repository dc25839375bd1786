#include "core/texts.h"

#include <gtest/gtest.h>

#include <span>
#include <string_view>

namespace plumbo {
namespace {

// The tables as arrays of their texts: only texts may be members, or this view is wrong.
static_assert(sizeof(UiTexts) % sizeof(const wchar_t*) == 0 && std::is_standard_layout_v<UiTexts>);
std::span<const wchar_t* const> Members(const UiTexts& t) {
    return {reinterpret_cast<const wchar_t* const*>(&t), sizeof(UiTexts) / sizeof(const wchar_t*)};
}

size_t Places(std::wstring_view text) {
    size_t n = 0;
    for (size_t at = text.find(L"%s"); at != std::wstring_view::npos; at = text.find(L"%s", at + 2)) ++n;
    return n;
}

TEST(Texts, JapaneseForAJapaneseUiLanguageWhateverItsSubLanguageEnglishForEveryOther) {
    const struct { uint16_t langId; UiLanguage want; } rows[] = {
        {0x0411, UiLanguage::Japanese},  // ja-JP
        {0x0011, UiLanguage::Japanese},  // Japanese, no sub-language
        {0x0811, UiLanguage::Japanese},  // a sub-language Windows does not name
        {0x0409, UiLanguage::English},   {0x0809, UiLanguage::English},  // en-US, en-GB
        {0x0407, UiLanguage::English},   {0x0404, UiLanguage::English},  // de-DE, zh-TW
        {0x0412, UiLanguage::English},   {0x0000, UiLanguage::English},  // ko-KR, neutral
        {0x0400, UiLanguage::English},   {0x0C00, UiLanguage::English},  // process default, custom
    };
    for (const auto& r : rows) EXPECT_EQ(LanguageForUi(r.langId), r.want) << std::hex << r.langId;
}

TEST(Texts, EveryJapaneseTextHasAnEnglishOneWithTheSamePlacesToFill) {
    const auto japanese = Members(TextsOf(UiLanguage::Japanese));
    const auto english = Members(TextsOf(UiLanguage::English));
    for (size_t i = 0; i < japanese.size(); ++i) {
        ASSERT_TRUE(japanese[i] && *japanese[i]) << "Japanese member " << i;
        ASSERT_TRUE(english[i] && *english[i]) << "English member " << i;
        EXPECT_EQ(Places(japanese[i]), Places(english[i])) << "member " << i;
    }
    // Until start-up chooses, the program speaks Japanese.
    EXPECT_EQ(&Texts(), &TextsOf(UiLanguage::Japanese));
}

TEST(Texts, PlacesAreFilledInOrderAndOtherTextIsKept) {
    EXPECT_EQ(FillIn(L"%s: %s%", {L"a", L"b"}), L"a: b%");
    EXPECT_EQ(FillIn(L"%s and %s", {L"one"}), L"one and %s");
}

}  // namespace
}  // namespace plumbo

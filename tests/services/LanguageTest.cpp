#include <gtest/gtest.h>

#include "Language.h"

namespace zorvi {
namespace {

TEST(Language, TextsByLanguage) {
    EXPECT_EQ(Language::GetText(TextId::TXT_LOAD_PREVIOUS_STATE, 1), "Ladda tidigare tillstånd?");
    EXPECT_EQ(Language::GetText(TextId::TXT_LOAD_PREVIOUS_STATE, 0), "Ladataanko aiempi tila?");
    EXPECT_EQ(Language::GetText(TextId::TXT_LOAD_PREVIOUS_STATE, 2), "Load previous state?");
    EXPECT_EQ(Language::GetText(TextId::TXT_SKIP_NUMBER_LIMIT, 2),
              "Skip number limit for this game");
    EXPECT_EQ(Language::GetText(TextId::TXT_NUMBER_LIMIT_FOR_GAME, 0), "Anna pelille numeroraja");
    EXPECT_EQ(Language::GetText(TextId::TXT_WINDOWED, 1), "Windowed");
    EXPECT_EQ(Language::GetText(TextId::TXT_CANCEL_NUMBER, 1),
              Language::GetText(TextId::TXT_CANCEL, 1));
    EXPECT_EQ(Language::GetText(TextId::TXT_CANCEL_NUMBER, 1), "Upphäva");
    for (int language = 0; language < 3; ++language)
        EXPECT_EQ(Language::GetText(TextId::TXT_BINGO, language), "BINGO!");
}

TEST(Language, IndexOutsideTheTableGivesFinnish) {
    for (int language : {-1, 3, 7, 1 << 30})
        EXPECT_EQ(Language::GetText(TextId::TXT_YES, language), "Kyllä");
}

TEST(Language, EveryEntryHasThreeTexts) {
    for (int i = 0; i < static_cast<int>(TextId::Count); ++i)
        for (int language = 0; language < 3; ++language)
            EXPECT_FALSE(Language::GetText(static_cast<TextId>(i), language).empty()) << i;
}

TEST(Language, LetterNames) {
    const std::pair<int, std::optional<TextId>> cases[] = {
        {1, TextId::TXT_LETTER_B},  {15, TextId::TXT_LETTER_B}, {16, TextId::TXT_LETTER_I},
        {30, TextId::TXT_LETTER_I}, {31, TextId::TXT_LETTER_N}, {45, TextId::TXT_LETTER_N},
        {46, TextId::TXT_LETTER_G}, {60, TextId::TXT_LETTER_G}, {61, TextId::TXT_LETTER_O},
        {75, TextId::TXT_LETTER_O}, {76, TextId::TXT_LETTER_S}, {90, TextId::TXT_LETTER_S},
        {0, std::nullopt},          {91, std::nullopt},         {-1, std::nullopt},
    };
    for (const auto& [number, entry] : cases)
        EXPECT_EQ(Language::GetLetterName(number), entry) << number;
    EXPECT_EQ(Language::GetText(TextId::TXT_LETTER_S, 1), "Sven");
    EXPECT_EQ(Language::GetText(TextId::TXT_LETTER_B, 0), "Bertta");
}

} // namespace
} // namespace zorvi

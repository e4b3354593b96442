#include "CouponsInPlayText.h"

#include "GameRules.h"
#include "Language.h"

namespace zorvi {

std::string DescribeCouponsInPlay(const CouponsInPlay::ParseError& error, int language) {
    using Kind = CouponsInPlay::ParseError::Kind;
    std::string second;
    TextId entry = TextId::TXT_COUPONS_NOT_A_RANGE;
    std::string first = error.part;
    switch (error.kind) {
    case Kind::TooLong:
        entry = TextId::TXT_COUPONS_TOO_LONG;
        first = std::to_string(CouponsInPlay::kMaxTextLength);
        break;
    case Kind::MissingNumber:
        entry = TextId::TXT_COUPONS_MISSING_NUMBER;
        break;
    case Kind::OutOfRange:
        entry = TextId::TXT_COUPONS_OUT_OF_RANGE;
        second = std::to_string(GameRules::kHighestCouponNumber);
        break;
    case Kind::Reversed:
        entry = TextId::TXT_COUPONS_REVERSED;
        break;
    case Kind::Garbage:
        break;
    }
    // One pass, so that a "%2" typed by the operator is not filled in.
    const std::string& pattern = Language::GetText(entry, language);
    std::string text;
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        if (pattern[at] == '%' && at + 1 < pattern.size() &&
            (pattern[at + 1] == '1' || pattern[at + 1] == '2')) {
            text += pattern[at + 1] == '1' ? first : second;
            ++at;
        } else {
            text += pattern[at];
        }
    }
    return text;
}

} // namespace zorvi

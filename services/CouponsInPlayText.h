#pragma once

#include <string>

#include "CouponsInPlay.h"

namespace zorvi {

// Why a coupons-in-play text was refused, as the operator reads it: one sentence that names the
// offending part, in the user interface's language (0 Finnish, 1 Swedish, 2 English).
std::string DescribeCouponsInPlay(const CouponsInPlay::ParseError& error, int language = 2);

} // namespace zorvi

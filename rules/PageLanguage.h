#pragma once

#include <array>
#include <string_view>

namespace zorvi {

// The page's folder for each language index (Finnish, Swedish, English): the players' window
// loads "<folder>/public_screen.htm" from the program's html folder, and the hall server serves
// it at "/<folder>/".
inline constexpr std::array<std::string_view, 3> kPageLanguageFolders = {"fi", "se", "en"};

// Anything unknown is Finnish, as the language table has it.
constexpr std::string_view PageLanguageFolder(int language) {
    return language >= 0 && language < int(kPageLanguageFolders.size())
               ? kPageLanguageFolders[std::size_t(language)]
               : kPageLanguageFolders[0];
}

} // namespace zorvi

#include "DrawCollect.h"

#include <vector>

#include "DrawSource.h"

namespace zorvi {

bool CollectGames(DrawSource& source, int n, std::uint64_t games, std::FILE* out) {
    // A million games are a few hundred megabytes: format by hand into one buffer.
    std::vector<char> buffer;
    buffer.reserve(64 * 1024);
    for (std::uint64_t g = 0; g < games; ++g) {
        // The very call a new game of the program makes.
        const std::vector<int> game = Helpers::ShuffledSequence(source, n);
        for (std::size_t i = 0; i < game.size(); ++i) {
            if (i != 0)
                buffer.push_back(' ');
            char digits[12];
            int length = 0;
            unsigned value = static_cast<unsigned>(game[i]);
            do {
                digits[length++] = static_cast<char>('0' + value % 10);
                value /= 10;
            } while (value != 0);
            while (length > 0)
                buffer.push_back(digits[--length]);
        }
        buffer.push_back('\n');
        if (buffer.size() > 60 * 1024) {
            if (std::fwrite(buffer.data(), 1, buffer.size(), out) != buffer.size())
                return false;
            buffer.clear();
        }
    }
    if (!buffer.empty() && std::fwrite(buffer.data(), 1, buffer.size(), out) != buffer.size())
        return false;
    return std::fflush(out) == 0;
}

} // namespace zorvi

// The one platform spot of the draw: the operating system's secure random generator.
#include "DrawSource.h"

#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// windows.h first: bcrypt.h needs its types.
#include <bcrypt.h>
#else
#include <cerrno>
#include <sys/random.h>
#endif

namespace zorvi {

namespace {

[[noreturn]] void NoSecureRandom() {
    // A game must never fall back to a guessable draw: stop rather than deal one.
    std::fputs("zorvi: the operating system's random generator failed\n", stderr);
    std::abort();
}

} // namespace

void OsRandomSource::Refill(std::uint8_t* data, std::size_t size) {
#ifdef _WIN32
    if (size > 0xffffffffu ||
        !BCRYPT_SUCCESS(BCryptGenRandom(nullptr, data, static_cast<ULONG>(size),
                                        BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
        NoSecureRandom();
#else
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = getrandom(data + done, size - done, 0);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            NoSecureRandom();
        }
        done += static_cast<std::size_t>(got);
    }
#endif
}

} // namespace zorvi

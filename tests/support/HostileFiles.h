#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace zorvi::test {

// What a data or program folder may hold in place of one of the program's files.
enum class Hostile {
    GarbageText, // 20 KB of printable random text with line breaks
    BinaryJunk,  // 64 KB of random bytes
    Junk50MB,    // 50 MB of printable random text
    Pipe,        // a named pipe without a writer
    Endless,     // a link to a device that streams bytes for ever
    Folder,      // a folder (holding a file)
};

const char* HostileName(Hostile kind);

// Puts that in place of `path` (whose folder must exist). False when this platform cannot make
// it (no named pipes, no stream device); the caller skips the case then.
bool PutHostile(const std::filesystem::path& path, Hostile kind);

// The size the hostile file has on disk, for comparing a set-aside copy (0 for the others).
std::size_t HostileSize(Hostile kind);

} // namespace zorvi::test

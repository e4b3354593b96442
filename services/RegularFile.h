#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zorvi {

// How reading a file of the data or program folder went.
enum class FileRead {
    Ok,         // a regular file of at most the limit, read whole
    Missing,    // nothing of that name
    NotRegular, // a folder, a named pipe, a device or a socket: never read
    TooLarge,   // a regular file longer than the limit; its first `limit` bytes were read
    Unreadable, // a regular file that could not be opened or read
};

// Largest settings-style file the program reads: far beyond any real settings or game (a
// game with 100,000 winners takes about 1.3 MB), small enough to read at once.
inline constexpr std::uint64_t kIniFileLimit = 4u * 1024u * 1024u;

// Reads a file only when it is a regular file, and at most `limit` bytes of it. The open
// never waits (a named pipe without a writer is refused at once, not waited on), and a file
// that never ends or keeps growing costs at most `limit` + 1 bytes of reading.
FileRead ReadRegularFile(const std::filesystem::path& path, std::uint64_t limit, std::string& out);
FileRead ReadRegularFile(const std::filesystem::path& path, std::uint64_t limit,
                         std::vector<std::uint8_t>& out);

} // namespace zorvi

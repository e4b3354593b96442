#include "HostileFiles.h"

#include <fstream>
#include <random>
#include <system_error>

#ifdef __unix__
#include <sys/stat.h>
#endif

namespace zorvi::test {

namespace {

std::string RandomText(std::size_t size) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> letter(' ', '~');
    std::string text(size, '\n');
    for (std::size_t i = 0; i < size; ++i)
        if (i % 80 != 79)
            text[i] = static_cast<char>(letter(random));
    return text;
}

std::string RandomBytes(std::size_t size) {
    std::mt19937 random(13);
    std::string bytes(size, '\0');
    for (char& b : bytes)
        b = static_cast<char>(random() & 0xFF);
    return bytes;
}

void Write(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

const char* HostileName(Hostile kind) {
    switch (kind) {
    case Hostile::GarbageText:
        return "garbageText";
    case Hostile::BinaryJunk:
        return "binaryJunk";
    case Hostile::Junk50MB:
        return "junk50MB";
    case Hostile::Pipe:
        return "pipe";
    case Hostile::Endless:
        return "endless";
    case Hostile::Folder:
        return "folder";
    }
    return "?";
}

std::size_t HostileSize(Hostile kind) {
    switch (kind) {
    case Hostile::GarbageText:
        return 20 * 1024;
    case Hostile::BinaryJunk:
        return 64 * 1024;
    case Hostile::Junk50MB:
        return 50u * 1024u * 1024u;
    default:
        return 0;
    }
}

bool PutHostile(const std::filesystem::path& path, Hostile kind) {
    std::error_code ec;
    switch (kind) {
    case Hostile::GarbageText:
    case Hostile::Junk50MB:
        Write(path, RandomText(HostileSize(kind)));
        return true;
    case Hostile::BinaryJunk:
        Write(path, RandomBytes(HostileSize(kind)));
        return true;
    case Hostile::Pipe:
#ifdef __unix__
        return ::mkfifo(path.c_str(), 0600) == 0;
#else
        return false;
#endif
    case Hostile::Endless:
        if (!std::filesystem::exists("/dev/zero"))
            return false;
        std::filesystem::create_symlink("/dev/zero", path, ec);
        return !ec;
    case Hostile::Folder:
        std::filesystem::create_directories(path, ec);
        Write(path / "inside", "kept");
        return !ec;
    }
    return false;
}

} // namespace zorvi::test

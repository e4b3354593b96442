#include "WindowTitle.h"

#include <QString>

#include "RegularFile.h"

namespace zorvi {

std::string BuildWindowTitle(const std::filesystem::path& programFolder) {
    std::string title = std::string("ZORVI ") + kVersionText + " (build " + kBuildText + ")";
    // Only a regular file, and only as much of it as the title uses: a pipe or a device in
    // its place must not hold up the start.
    std::string bytes;
    const FileRead read = ReadRegularFile(programFolder / "extra-version", 4, bytes);
    if (read != FileRead::Ok && read != FileRead::TooLarge)
        return title;
    std::string extra;
    for (const char c : bytes) {
        if (c == '\0')
            break;
        if (c != '\n')
            extra.push_back(c);
    }
    // The file's bytes are text in the system's 8-bit code page.
    title += ' ';
    title += QString::fromLocal8Bit(extra.data(), qsizetype(extra.size())).toStdString();
    return title;
}

} // namespace zorvi

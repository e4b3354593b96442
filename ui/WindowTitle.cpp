#include "WindowTitle.h"

#include <QString>
#include <fstream>

namespace zorvi {

std::string BuildWindowTitle(const std::filesystem::path& programFolder) {
    std::string title = std::string("ZORVI ") + kVersionText + " (build " + kBuildText + ")";
    std::error_code ec;
    const std::filesystem::path file = programFolder / "extra-version";
    if (!std::filesystem::is_regular_file(file, ec))
        return title;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return title;
    char bytes[4] = {};
    in.read(bytes, sizeof bytes);
    if (in.bad())
        return title;
    const std::streamsize got = in.gcount();
    std::string extra;
    for (std::streamsize i = 0; i < got && bytes[i] != '\0'; ++i)
        if (bytes[i] != '\n')
            extra.push_back(bytes[i]);
    // The file's bytes are text in the system's 8-bit code page.
    title += ' ';
    title += QString::fromLocal8Bit(extra.data(), qsizetype(extra.size())).toStdString();
    return title;
}

} // namespace zorvi

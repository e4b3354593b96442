#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvi {

// A settings-style ("ini") file in memory. Keeps every line as it was read so that a
// write changes only the line of its key; section and key names compare case-insensitively.
class IniDocument {
public:
    virtual ~IniDocument() = default;

    static IniDocument Parse(std::string_view text);
    std::string Serialize() const;

    // The value of a key, trimmed of surrounding blanks, or nothing when the section or key is
    // absent.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;

    bool HasSection(std::string_view section) const { return FindSection(section).has_value(); }

    // Replaces the key's value in place; a new key goes after the last key line of its
    // section; a missing section is added at the end of the file.
    void Set(std::string_view section, std::string_view key, std::string_view value);

private:
    // Index of the first heading of the section, if any.
    std::optional<std::size_t> FindSection(std::string_view section) const;

    std::vector<std::string> lines_; // without their line ends
    // Line end of the file as read (the first line break decides); new files use the
    // platform's own.
#ifdef _WIN32
    std::string eol_ = "\r\n";
#else
    std::string eol_ = "\n";
#endif
    bool bom_ = false; // a UTF-8 byte-order mark is kept as it was
};

} // namespace zorvi

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

    // The value of a key, trimmed of surrounding blanks, or nothing when the section or key is absent.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;

    // Replaces the key's value in place; a new key goes after the last line of its section;
    // a missing section is added at the end of the file.
    void Set(std::string_view section, std::string_view key, std::string_view value);

private:
    std::vector<std::string> lines_;
};

} // namespace zorvi

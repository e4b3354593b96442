#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Folders.h"
#include "IniDocument.h"
#include "RegularFile.h"

namespace zorvi::Helpers {

inline constexpr const char* kIniSection = "common";
inline constexpr std::size_t kIniStringLimit = 259;

// Settings-style file access on section "common" of a bare file name in the data folder.
// Reads never fail: a missing file, section or key gives the default.

// The number at the start of the value (blanks, one sign, digits; no digits gives 0,
// values beyond 32 bits saturate); an empty value or a missing key gives the default.
int ReadIniInt(const std::string& file, const std::string& key, int defaultValue);
// At most 259 characters of the value.
std::string ReadIniString(const std::string& file, const std::string& key,
                          const std::string& defaultValue);
// The whole value, however long (lists of the state file).
std::string ReadIniStringWhole(const std::string& file, const std::string& key,
                               const std::string& defaultValue);
// True when the file exists in the data folder.
bool IniFileExists(const std::string& file);

// Each write replaces the file atomically. Return false when the file could not be written.
bool WriteIniInt(const std::string& file, const std::string& key, int value);
bool WriteIniString(const std::string& file, const std::string& key, const std::string& value);
// Writes several keys in order as one replacement of the file, with the same content that
// one write per key would give; skips the write when nothing would change.
// A file there that is no regular file, too long or unreadable is never overwritten.
bool WriteIniValues(const std::string& file,
                    const std::vector<std::pair<std::string, std::string>>& values);
// Writes a file that holds section "common" with exactly these keys, in order, whatever the
// file held before: the cost is the size of the values, never the size of the old file (it
// is read only as far as needed to see that nothing changes). Like WriteIniValues it never
// overwrites something that is no regular file or cannot be read.
bool ReplaceIniFile(const std::string& file,
                    const std::vector<std::pair<std::string, std::string>>& values);

// One settings-style file of the data folder, read once, for a caller that reads many keys
// of it; each read answers as the single-key reads above do.
class IniFileSnapshot {
public:
    explicit IniFileSnapshot(const std::string& file);
    virtual ~IniFileSnapshot() = default;

    // Something of that name is there (a file, or something that cannot be one).
    bool Exists() const { return read_ != FileRead::Missing; }
    // How the read went; only Ok gives values.
    FileRead Read() const { return read_; }
    // True when the file was read but nothing in it can be a setting: it holds text other
    // than blanks and no section "common" (junk, a binary file, some other program's file).
    bool HoldsNoSettings() const { return holdsNoSettings_; }
    int ReadInt(const std::string& key, int defaultValue) const;
    std::string ReadString(const std::string& key, const std::string& defaultValue) const;
    std::string ReadStringWhole(const std::string& key, const std::string& defaultValue) const;

private:
    std::optional<std::string> Value(const std::string& key) const;

    FileRead read_ = FileRead::Missing;
    bool holdsNoSettings_ = false;
    std::optional<IniDocument> doc_;
};

// The integer at the start of a text as the settings-style reader takes it.
int ParseLeadingInt(std::string_view text);

// Texts "1" to the decimal text of n; integers 1 to n.
std::vector<std::string> MakeNumberLabels(int n);
std::vector<int> MakeNumberSequence(int n);

} // namespace zorvi::Helpers

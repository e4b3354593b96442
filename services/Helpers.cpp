#include "Helpers.h"

#include <climits>
#include <system_error>

#include "AtomicFile.h"
#include "IniDocument.h"

namespace zorvi::Helpers {

namespace fs = std::filesystem;

namespace {

fs::path IniPath(const std::string& file) {
    return GetDataFolder() / file;
}

// Cuts a UTF-8 text to at most the limit in bytes without splitting a character: the cut
// backs off over continuation bytes to the start of the character it would have halved.
std::string CutUtf8(std::string text, std::size_t limit) {
    if (text.size() <= limit)
        return text;
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    text.resize(cut);
    return text;
}

} // namespace

int ParseLeadingInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1; // saturated; stays small enough
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

IniFileSnapshot::IniFileSnapshot(const std::string& file) {
    std::string content;
    read_ = ReadRegularFile(IniPath(file), kIniFileLimit, content);
    if (read_ != FileRead::Ok)
        return;
    doc_ = IniDocument::Parse(content);
    std::string_view text = content;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    const bool blank = text.find_first_not_of(" \t\r\n") == std::string_view::npos;
    holdsNoSettings_ = !blank && !doc_->HasSection(kIniSection);
}

std::optional<std::string> IniFileSnapshot::Value(const std::string& key) const {
    if (!doc_)
        return std::nullopt;
    return doc_->Get(kIniSection, key);
}

int IniFileSnapshot::ReadInt(const std::string& key, int defaultValue) const {
    const std::optional<std::string> value = Value(key);
    if (!value || value->empty())
        return defaultValue;
    return ParseLeadingInt(*value);
}

// The limit counts UTF-8 bytes, where the platform's reader counts UTF-16 units: 259 ASCII
// characters come back whole, a longer text of wider characters is cut earlier.
std::string IniFileSnapshot::ReadString(const std::string& key,
                                        const std::string& defaultValue) const {
    return CutUtf8(ReadStringWhole(key, defaultValue), kIniStringLimit);
}

std::string IniFileSnapshot::ReadStringWhole(const std::string& key,
                                             const std::string& defaultValue) const {
    return Value(key).value_or(defaultValue);
}

int ReadIniInt(const std::string& file, const std::string& key, int defaultValue) {
    return IniFileSnapshot(file).ReadInt(key, defaultValue);
}

std::string ReadIniString(const std::string& file, const std::string& key,
                          const std::string& defaultValue) {
    return IniFileSnapshot(file).ReadString(key, defaultValue);
}

std::string ReadIniStringWhole(const std::string& file, const std::string& key,
                               const std::string& defaultValue) {
    return IniFileSnapshot(file).ReadStringWhole(key, defaultValue);
}

bool IniFileExists(const std::string& file) {
    return IniFileSnapshot(file).Read() == FileRead::Ok;
}

bool WriteIniInt(const std::string& file, const std::string& key, int value) {
    return WriteIniValues(file, {{key, std::to_string(value)}});
}

bool WriteIniString(const std::string& file, const std::string& key, const std::string& value) {
    return WriteIniValues(file, {{key, value}});
}

bool WriteIniValues(const std::string& file,
                    const std::vector<std::pair<std::string, std::string>>& values) {
    if (values.empty())
        return true;
    const fs::path path = IniPath(file);
    std::string old;
    const FileRead read = ReadRegularFile(path, kIniFileLimit, old);
    // What is there but could not be read is not overwritten: its other keys would be lost.
    if (read != FileRead::Ok && read != FileRead::Missing)
        return false;
    IniDocument doc = IniDocument::Parse(old);
    for (const auto& [key, value] : values)
        doc.Set(kIniSection, key, value);
    const std::string content = doc.Serialize();
    if (read == FileRead::Ok && old == content)
        return true;
    return WriteFileAtomically(path, content);
}

bool ReplaceIniFile(const std::string& file,
                    const std::vector<std::pair<std::string, std::string>>& values) {
    IniDocument doc;
    for (const auto& [key, value] : values)
        doc.Set(kIniSection, key, value);
    const std::string content = doc.Serialize();
    const fs::path path = IniPath(file);
    // One byte more than the new content is enough to tell whether anything changes.
    std::string old;
    const FileRead read = ReadRegularFile(path, content.size(), old);
    if (read == FileRead::Ok && old == content)
        return true;
    if (read == FileRead::NotRegular || read == FileRead::Unreadable)
        return false;
    return WriteFileAtomically(path, content);
}

std::vector<std::string> MakeNumberLabels(int n) {
    std::vector<std::string> labels;
    if (n <= 0)
        return labels;
    labels.reserve(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i)
        labels.push_back(std::to_string(i));
    return labels;
}

std::vector<int> MakeNumberSequence(int n) {
    std::vector<int> numbers;
    if (n <= 0)
        return numbers;
    numbers.reserve(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i)
        numbers.push_back(i);
    return numbers;
}

} // namespace zorvi::Helpers

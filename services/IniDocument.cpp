#include "IniDocument.h"

#include <cctype>
#include <utility>

namespace zorvi {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// A stray carriage return counts as a blank, so a line reads the same whichever line ends the
// file is written back with.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// The name of a section heading ("[name]"), or nothing when the line is not a heading.
std::optional<std::string_view> SectionName(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() != '[')
        return std::nullopt;
    std::string_view inner = trimmed.substr(1);
    const std::size_t close = inner.find(']');
    if (close != std::string_view::npos)
        inner = inner.substr(0, close);
    return Trim(inner);
}

// The key of a "key=value" line, or nothing for headings, comments and other lines.
std::optional<std::string_view> KeyName(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[')
        return std::nullopt;
    const std::size_t eq = trimmed.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return Trim(trimmed.substr(0, eq));
}

// A line break inside a value would split it into lines of its own; blanks take their place.
std::string OneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return out;
}

} // namespace

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument doc;
    if (text.substr(0, kBom.size()) == kBom) {
        doc.bom_ = true;
        text.remove_prefix(kBom.size());
    }
    bool sawLineBreak = false;
    bool crlf = false;
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        if (nl != std::string_view::npos) {
            if (!sawLineBreak) {
                sawLineBreak = true;
                crlf = !line.empty() && line.back() == '\r';
            }
            text.remove_prefix(nl + 1);
        } else {
            text = {};
        }
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        doc.lines_.emplace_back(line);
    }
    if (sawLineBreak)
        doc.eol_ = crlf ? "\r\n" : "\n";
    return doc;
}

std::string IniDocument::Serialize() const {
    std::string out;
    if (bom_)
        out += kBom;
    for (const std::string& line : lines_) {
        out += line;
        out += eol_;
    }
    return out;
}

std::optional<std::size_t> IniDocument::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto name = SectionName(lines_[i]);
        if (name && EqualsNoCase(*name, section))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    const auto start = FindSection(section);
    if (!start)
        return std::nullopt;
    for (std::size_t i = *start + 1; i < lines_.size(); ++i) {
        if (SectionName(lines_[i]))
            break;
        const auto name = KeyName(lines_[i]);
        if (name && EqualsNoCase(*name, key)) {
            const std::string_view line = lines_[i];
            return std::string(Trim(line.substr(line.find('=') + 1)));
        }
    }
    return std::nullopt;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string keyText = OneLine(Trim(key));
    const std::string line = keyText + "=" + OneLine(value);
    const auto start = FindSection(section);
    if (!start) {
        std::string heading = "[";
        heading += OneLine(Trim(section));
        heading += ']';
        lines_.push_back(std::move(heading));
        lines_.push_back(line);
        return;
    }
    std::size_t insertAt = *start + 1;
    for (std::size_t i = *start + 1; i < lines_.size(); ++i) {
        if (SectionName(lines_[i]))
            break;
        const auto name = KeyName(lines_[i]);
        if (!name)
            continue;
        if (EqualsNoCase(*name, keyText)) {
            lines_[i] = line;
            return;
        }
        insertAt = i + 1;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
}

} // namespace zorvi

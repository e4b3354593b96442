#include "CommandLine.h"

#include <charconv>

namespace zorvi {

bool CommandLine::Parse(const std::vector<std::string>& args,
                        const std::set<std::string>& valueOptions,
                        const std::set<std::string>& flagOptions, std::string* error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0 || arg.size() == 2) {
            positional_.push_back(arg);
            continue;
        }
        const std::string name = arg.substr(2);
        if (flagOptions.count(name) != 0) {
            flags_.insert(name);
        } else if (valueOptions.count(name) != 0) {
            if (i + 1 >= args.size()) {
                *error = arg + " needs a value";
                return false;
            }
            values_[name].push_back(args[++i]);
        } else {
            *error = "unknown option " + arg;
            return false;
        }
    }
    return true;
}

std::string CommandLine::Value(const std::string& name) const {
    const auto it = values_.find(name);
    return it == values_.end() ? std::string() : it->second.back();
}

std::optional<std::uint64_t> CommandLine::ParseNumber(const std::string& text) {
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

std::optional<std::uint64_t> CommandLine::Number(const std::string& name) const {
    if (!Has(name))
        return std::nullopt;
    return ParseNumber(Value(name));
}

} // namespace zorvi

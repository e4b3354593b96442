#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace zorvi {

// The arguments of one subcommand: "--name value" options, "--flag" switches and the rest.
class CommandLine {
public:
    // Fails (error set) on an unknown option or an option without its value.
    bool Parse(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
               const std::set<std::string>& flagOptions, std::string* error);
    virtual ~CommandLine() = default;

    bool Has(const std::string& name) const { return values_.count(name) != 0; }
    bool Flag(const std::string& name) const { return flags_.count(name) != 0; }
    // The last value given for the option; Values gives each, in order.
    std::string Value(const std::string& name) const;
    std::vector<std::string> Values(const std::string& name) const {
        const auto it = values_.find(name);
        return it == values_.end() ? std::vector<std::string>() : it->second;
    }
    const std::vector<std::string>& Positional() const { return positional_; }

    // The option's whole value as a number, or nothing when absent or not a plain number.
    std::optional<std::uint64_t> Number(const std::string& name) const;
    static std::optional<std::uint64_t> ParseNumber(const std::string& text);

private:
    std::map<std::string, std::vector<std::string>> values_;
    std::set<std::string> flags_;
    std::vector<std::string> positional_;
};

} // namespace zorvi

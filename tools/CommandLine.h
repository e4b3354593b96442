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
    std::string Value(const std::string& name) const;
    const std::vector<std::string>& Positional() const { return positional_; }

    // The option's whole value as a number, or nothing when absent or not a plain number.
    std::optional<std::uint64_t> Number(const std::string& name) const;
    static std::optional<std::uint64_t> ParseNumber(const std::string& text);

private:
    std::map<std::string, std::string> values_;
    std::set<std::string> flags_;
    std::vector<std::string> positional_;
};

} // namespace zorvi

#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace zorvi::test {

// The variable that names the per-user application-data folder on this platform.
#ifdef _WIN32
inline constexpr const char* kDataHomeVariable = "APPDATA";
#else
inline constexpr const char* kDataHomeVariable = "XDG_DATA_HOME";
#endif

// Portable environment changes for tests (setenv and unsetenv are POSIX-only).
inline std::optional<std::string> GetEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr)
        return std::nullopt;
    return std::string(value);
}

inline void SetEnvironment(const char* name, const std::string& value) {
#ifdef _WIN32
    // Keeps the narrow and the wide copy of the environment in step; the program reads the
    // wide one.
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

inline void UnsetEnvironment(const char* name) {
#ifdef _WIN32
    _putenv_s(name, ""); // an empty value removes the variable
#else
    unsetenv(name);
#endif
}

// Sets (or, given nothing, removes) a variable for the life of the object, then puts back
// what was there before.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value)
        : name_(name), old_(GetEnvironment(name)) {
        if (value)
            SetEnvironment(name, *value);
        else
            UnsetEnvironment(name);
    }
    ~ScopedEnvironment() {
        if (old_)
            SetEnvironment(name_.c_str(), *old_);
        else
            UnsetEnvironment(name_.c_str());
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

} // namespace zorvi::test

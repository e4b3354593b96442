#pragma once

#include <filesystem>
#include <string>

namespace zorvi::test {

// A fresh temporary data folder ($XDG_DATA_HOME, %APPDATA% on Windows, points at its
// parent) and program folder (the working directory) for one test; both are removed
// afterwards and the previous environment and working directory come back.
class TestFolders {
public:
    TestFolders();
    ~TestFolders();
    TestFolders(const TestFolders&) = delete;
    TestFolders& operator=(const TestFolders&) = delete;

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path dataFolder() const; // <root>/xdg/ZORVI (not created)
    const std::filesystem::path& programFolder() const { return program_; }

    // Writes a file with the given bytes (creating folders) and returns its path.
    static std::filesystem::path WriteFile(const std::filesystem::path& path,
                                           const std::string& bytes);
    static std::string ReadFile(const std::filesystem::path& path);

    // The text with the line ends that a new settings-style file gets on this platform:
    // CR LF on Windows, LF elsewhere.
    static std::string NewFileLines(const std::string& text);
    // A path from UTF-8 text (a plain std::string is taken in the ANSI code page on Windows).
    static std::filesystem::path Utf8Path(const std::string& text);

private:
    std::filesystem::path root_;
    std::filesystem::path program_;
    std::filesystem::path oldCwd_;
    std::string oldXdg_;
    bool hadXdg_ = false;
};

} // namespace zorvi::test

#include "TestFolders.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "Folders.h"
#include "TestEnvironment.h"

namespace zorvi::test {

TestFolders::TestFolders() {
    std::random_device rd;
    root_ = std::filesystem::temp_directory_path() /
            ("zorvi-test-" + std::to_string(rd()) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(root_ / "xdg");
    program_ = root_ / "program";
    std::filesystem::create_directories(program_);
    if (const auto xdg = GetEnvironment(kDataHomeVariable)) {
        hadXdg_ = true;
        oldXdg_ = *xdg;
    }
    SetEnvironment(kDataHomeVariable, (root_ / "xdg").string());
    oldCwd_ = std::filesystem::current_path();
    std::filesystem::current_path(program_);
    Helpers::ResetProgramFolderForTests();
}

TestFolders::~TestFolders() {
    std::error_code ec;
    std::filesystem::current_path(oldCwd_, ec);
    if (hadXdg_)
        SetEnvironment(kDataHomeVariable, oldXdg_);
    else
        UnsetEnvironment(kDataHomeVariable);
    Helpers::ResetProgramFolderForTests();
    // Read-only folders made by a test must not keep the tree from being removed.
    for (auto it = std::filesystem::recursive_directory_iterator(root_, ec);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(root_, ec);
}

std::filesystem::path TestFolders::dataFolder() const {
    return root_ / "xdg" / "ZORVI";
}

std::filesystem::path TestFolders::WriteFile(const std::filesystem::path& path,
                                             const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string TestFolders::ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string TestFolders::NewFileLines(const std::string& text) {
#ifdef _WIN32
    std::string out;
    for (const char ch : text) {
        if (ch == '\n')
            out += '\r';
        out += ch;
    }
    return out;
#else
    return text;
#endif
}

std::filesystem::path TestFolders::Utf8Path(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

} // namespace zorvi::test

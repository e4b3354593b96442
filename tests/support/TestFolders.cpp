#include "TestFolders.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "Folders.h"

namespace zorvi::test {

TestFolders::TestFolders() {
    std::random_device rd;
    root_ = std::filesystem::temp_directory_path() /
            ("zorvi-test-" + std::to_string(rd()) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(root_ / "xdg");
    program_ = root_ / "program";
    std::filesystem::create_directories(program_);
    if (const char* xdg = std::getenv("XDG_DATA_HOME")) {
        hadXdg_ = true;
        oldXdg_ = xdg;
    }
    setenv("XDG_DATA_HOME", (root_ / "xdg").c_str(), 1);
    oldCwd_ = std::filesystem::current_path();
    std::filesystem::current_path(program_);
    Helpers::ResetProgramFolderForTests();
}

TestFolders::~TestFolders() {
    std::error_code ec;
    std::filesystem::current_path(oldCwd_, ec);
    if (hadXdg_)
        setenv("XDG_DATA_HOME", oldXdg_.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
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

} // namespace zorvi::test

// The generate command in-process (also under Windows): an existing series file is kept
// unless --force is given, and a replacement goes through a temporary file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "Commands.h"
#include "TestFolders.h"

namespace zorvi {
namespace {

namespace fs = std::filesystem;
using test::TestFolders;

class GenerateCommand : public testing::Test {
protected:
    int Generate(const fs::path& out, bool force) {
        std::vector<std::string> args = {"--numbers", "90", "--count", "6",
                                         "--seed",    "3",  "--out",   out.string()};
        if (force)
            args.push_back("--force");
        return RunGenerate(args);
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folders.programFolder()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    TestFolders folders;
};

TEST_F(GenerateCommand, ExistingFileIsKeptUnlessForced) {
    const fs::path out = folders.programFolder() / "90.hex";
    const std::string printed = "the series that is already printed";
    TestFolders::WriteFile(out, printed);

    EXPECT_EQ(Generate(out, false), kExitFaults);
    EXPECT_EQ(TestFolders::ReadFile(out), printed);

    EXPECT_EQ(Generate(out, true), kExitDone);
    EXPECT_EQ(fs::file_size(out), 6u * 15u);
    EXPECT_EQ(Entries(), std::vector<std::string>{"90.hex"}); // no temporary left

    fs::remove(out);
    EXPECT_EQ(Generate(out, false), kExitDone); // a new file needs no --force
    EXPECT_EQ(fs::file_size(out), 6u * 15u);
}

TEST_F(GenerateCommand, FailedReplacementLeavesWhatWasThere) {
    // A folder in the file's place cannot be replaced, not even with --force.
    const fs::path out = folders.programFolder() / "series.hex";
    TestFolders::WriteFile(out / "inside", "kept");
    EXPECT_EQ(Generate(out, true), kExitFaults);
    EXPECT_EQ(TestFolders::ReadFile(out / "inside"), "kept");
    EXPECT_EQ(Entries(), std::vector<std::string>{"series.hex"});
}

} // namespace
} // namespace zorvi

#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

// A data folder of the fuzzer's own ($XDG_DATA_HOME points at its parent), into which each
// input is written as one settings-style file.
struct FuzzDataFolder {
    explicit FuzzDataFolder(const char* name) {
        root = std::filesystem::temp_directory_path() /
               (std::string("zorvi-fuzz-") + name + "-" + std::to_string(getpid()));
        std::filesystem::create_directories(root / "ZORVI");
        setenv("XDG_DATA_HOME", root.c_str(), 1);
    }

    void Write(const char* file, const std::uint8_t* data, std::size_t size) const {
        std::ofstream out(root / "ZORVI" / file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

    std::filesystem::path root;
};

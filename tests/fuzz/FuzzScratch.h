#pragma once

#include <filesystem>
#include <string>
#include <unistd.h>

// A private folder for one fuzzing process, emptied between inputs; in shared memory
// where there is some, since every input writes files.
inline std::filesystem::path FuzzScratchFolder(const std::string& tag)
{
    static const std::filesystem::path folder = [&] {
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        auto path = base / ("ovra-fuzz-" + tag + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(path);
        return path;
    }();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// Every file the run left lies inside the folder: nothing was written outside it.
inline bool OnlyInside(const std::filesystem::path& folder)
{
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const auto relative = entry.path().lexically_relative(folder);
        if (relative.empty() || *relative.begin() == "..")
            return false;
    }
    return true;
}

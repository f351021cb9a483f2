#pragma once
// A private home for a benchmark process: state, config, runtime and device folders of its own, so a
// run never touches the user's files and always starts from the same simulated devices.
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace bench {

inline std::filesystem::path PrepareHome(const std::string& folderName, bool fresh) {
    auto home = std::filesystem::temp_directory_path() / folderName;
    if (fresh) std::filesystem::remove_all(home);
    std::filesystem::create_directories(home / "run");
    std::filesystem::permissions(home / "run", std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
    setenv("XDG_STATE_HOME", (home / "state").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (home / "run").c_str(), 1);
    setenv("OAKRIDGE_DEVICE_DIR", (home / "devices").c_str(), 1);
    setenv("OAKRIDGE_BIN_DIR", OAKRIDGE_BIN_DIR, 0);
    return home;
}

}  // namespace bench

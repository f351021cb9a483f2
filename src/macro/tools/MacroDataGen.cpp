// Build step: turns the readable macro sources into the shipped macro files and folders in the
// program folder. Usage: oakridge_macrogen <program folder> <source.txt>...
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "macro/MacroFileFormat.h"
#include "platform/Paths.h"
#include "tools/MacroScript.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <program folder> <source.txt>...\n", argv[0]);
        return 2;
    }
    const fs::path out = argv[1];
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        MacroScript script;
        if (!in || !script.Parse(argv[i], text.str())) {
            std::fprintf(stderr, "%s\n",
                         in ? script.Error().c_str() : (std::string("cannot read ") + argv[i]).c_str());
            return 1;
        }
        const MacroFileFormat& format = FileFormat(*script.Model());
        // The folder is the source's alone: files dropped from the source disappear from it.
        if (format.folderName) {
            std::error_code ignored;
            fs::remove_all(out / format.folderName, ignored);
            fs::create_directories(out / format.folderName);
        }
        for (const auto& [path, macros] : script.Files()) {
            const std::vector<uint8_t> bytes = SerializeMacroRecords(*script.Model(), macros);
            if (!platform::WriteFileAtomic((out / path).string(), bytes.data(), bytes.size())) {
                std::fprintf(stderr, "cannot write %s\n", (out / path).c_str());
                return 1;
            }
            // Shipped with the program, so readable by everyone (new files start private).
            fs::permissions(out / path, fs::perms::owner_read | fs::perms::owner_write |
                                            fs::perms::group_read | fs::perms::others_read);
        }
    }
    return 0;
}

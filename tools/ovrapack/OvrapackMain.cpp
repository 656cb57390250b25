#include <iostream>
#include <string>
#include <vector>

#include "Commands.h"

namespace {

const char kUsage[] =
    "usage: ovrapack COMMAND ARGS...\n"
    "  info FILE.exe     print the five patch-block fields\n"
    "  patch FILE.exe    set patch-block fields (see 'ovrapack patch')\n"
    "  extract FILE.exe DIR\n"
    "                    unpack the package's files into DIR\n"
    "  pack SRC_DIR ...  build an installer from a folder (see 'ovrapack pack')\n"
    "  list FILE.exe     list the files and shared chunks of an installer\n";

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << kUsage;
        return ExitCodes::kUsage;
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "info")
        return RunInfoCommand(args, std::cout, std::cerr);
    if (command == "patch")
        return RunPatchCommand(args, std::cout, std::cerr);
    if (command == "extract")
        return RunExtractCommand(args, std::cout, std::cerr);
    if (command == "pack")
        return RunPackCommand(args, std::cout, std::cerr);
    if (command == "list")
        return RunListCommand(args, std::cout, std::cerr);
    std::cerr << "ovrapack: unknown command \"" << command << "\"\n" << kUsage;
    return ExitCodes::kUsage;
}

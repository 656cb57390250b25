#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "CommandLine.h"

int main(int argc, char** argv)
{
    // Whatever ran out of memory has released what it held on the way here.
    try {
        COvrapackCommandLine commandLine(CStubLocator::ForThisProgram());
        return commandLine.Run(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    } catch (const std::bad_alloc&) {
        std::cerr << "ovrapack: not enough memory\n";
        return ExitCodes::kFailure;
    }
}

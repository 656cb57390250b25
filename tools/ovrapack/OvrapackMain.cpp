#include <iostream>
#include <string>
#include <vector>

#include "CommandLine.h"

int main(int argc, char** argv)
{
    COvrapackCommandLine commandLine(CStubLocator::ForThisProgram());
    return commandLine.Run(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}

#include <cstdio>
#include <cstring>
#include <string>

#include "TestStub.h"
#include "tools/ovrapack/io/FileBytes.h"

// Writes a stand-in stub for the scripted round trips: make_test_stub OUT [--pe32plus]
int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: ovra_make_test_stub OUT.exe [--pe32plus]\n");
        return 2;
    }
    TestStub::SShape shape;
    shape.bPe32Plus = argc > 2 && std::strcmp(argv[2], "--pe32plus") == 0;
    std::string error;
    if (!FileBytes::WriteAtomically(argv[1], TestStub::Make(shape), error)) {
        std::fprintf(stderr, "ovra_make_test_stub: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

#include <iomanip>
#include <ostream>

#include "Commands.h"
#include "tools/ovrapack/read/PatchableImage.h"
#include "tools/ovrapack/io/PathText.h"

int RunInfoCommand(const SInfoOptions& options, std::ostream& out, std::ostream& err)
{
    CPatchableImage image;
    std::string error;
    if (!image.Load(PathText::FromArgument(options.strPackage), error)) {
        err << "ovrapack: " << error << "\n";
        return ExitCodes::kFailure;
    }
    const SPatchFields fields = image.Fields();
    out << "patch block at file offset 0x" << std::hex << image.Editor().Offset() << std::dec << "\n"
        << "field 1 build id:       \"" << fields.strBuildId << "\"\n"
        << "field 2 stream offset:  " << fields.nStreamOffset << "\n"
        << "field 3 setup name:     \"" << fields.strSetupName << "\"\n"
        << "field 4 required bytes: " << fields.nRequiredBytes << "\n"
        << "field 5 picture offset: " << fields.nPictureOffset << "\n";
    return ExitCodes::kOk;
}

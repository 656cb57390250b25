#include <ostream>

#include "Commands.h"
#include "tools/ovrapack/read/PatchableImage.h"
#include "tools/ovrapack/io/PathText.h"

int RunPatchCommand(const SPatchOptions& options, std::ostream& out, std::ostream& err)
{
    CPatchableImage image;
    std::string error;
    if (!image.Load(PathText::FromArgument(options.strPackage), error)) {
        err << "ovrapack: " << error << "\n";
        return ExitCodes::kFailure;
    }
    CPatchBlockEditor& editor = image.Editor();
    if ((options.buildId && !editor.SetBuildId(*options.buildId, error)) ||
        (options.setupName && !editor.SetSetupName(*options.setupName, error))) {
        err << "ovrapack: " << error << "\n";
        return ExitCodes::kUsage;
    }
    if (options.streamOffset)
        editor.SetStreamOffset(static_cast<uint32_t>(*options.streamOffset));
    if (options.pictureOffset)
        editor.SetPictureOffset(static_cast<uint32_t>(*options.pictureOffset));
    if (options.requiredBytes)
        editor.SetRequiredBytes(*options.requiredBytes);
    if (!image.Save(error)) {
        err << "ovrapack: " << error << "\n";
        return ExitCodes::kFailure;
    }
    out << "patched " << options.strPackage << "\n";
    return ExitCodes::kOk;
}

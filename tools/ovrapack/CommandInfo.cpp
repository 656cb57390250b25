#include <iomanip>
#include <ostream>

#include "Commands.h"
#include "FileBytes.h"
#include "payload/PatchBlockEditor.h"

int RunInfoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 1) {
        err << "usage: ovrapack info FILE.exe\n";
        return ExitCodes::kUsage;
    }
    std::vector<uint8_t> image;
    std::string error;
    if (!FileBytes::Read(args[0], image, error)) {
        err << "ovrapack: " << error << "\n";
        return ExitCodes::kFailure;
    }
    const auto editor = CPatchBlockEditor::Locate(image, error);
    if (!editor) {
        err << "ovrapack: " << args[0] << ": " << error << "\n";
        return ExitCodes::kFailure;
    }
    const CPatchBlock block = editor->View();
    out << "patch block at file offset 0x" << std::hex << editor->Offset() << std::dec << "\n"
        << "field 1 build id:       \"" << block.BuildId() << "\"\n"
        << "field 2 stream offset:  " << block.StreamOffset() << "\n"
        << "field 3 setup name:     \"" << block.SetupName() << "\"\n"
        << "field 4 required bytes: " << block.RequiredBytes() << "\n"
        << "field 5 picture offset: " << block.PictureOffset() << "\n";
    return ExitCodes::kOk;
}

#include <charconv>
#include <limits>
#include <ostream>

#include "Commands.h"
#include "PatchableImage.h"

namespace {

bool ParseUnsigned(const std::string& text, uint64_t maximum, uint64_t& value)
{
    const char* end = text.data() + text.size();
    int base = 10;
    const char* begin = text.data();
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        begin += 2;
    }
    const auto result = std::from_chars(begin, end, value, base);
    return result.ec == std::errc() && result.ptr == end && begin != end && value <= maximum;
}

const char kUsage[] =
    "usage: ovrapack patch FILE.exe [--build-id ID] [--stream-offset N] [--setup NAME]\n"
    "                              [--required-bytes N] [--picture-offset N]\n";

} // namespace

int RunPatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty() || args.size() % 2 == 0) {
        err << kUsage;
        return ExitCodes::kUsage;
    }
    CPatchableImage image;
    std::string error;
    if (!image.Load(args[0], error)) {
        err << "ovrapack: " << error << "\n";
        return ExitCodes::kFailure;
    }
    CPatchBlockEditor& editor = image.Editor();
    for (size_t i = 1; i + 1 < args.size(); i += 2) {
        const std::string& option = args[i];
        const std::string& value = args[i + 1];
        uint64_t number = 0;
        const uint64_t max32 = std::numeric_limits<uint32_t>::max();
        bool ok = true;
        if (option == "--build-id") {
            ok = editor.SetBuildId(value, error);
        } else if (option == "--setup") {
            ok = editor.SetSetupName(value, error);
        } else if (option == "--stream-offset" && ParseUnsigned(value, max32, number)) {
            editor.SetStreamOffset(static_cast<uint32_t>(number));
        } else if (option == "--picture-offset" && ParseUnsigned(value, max32, number)) {
            editor.SetPictureOffset(static_cast<uint32_t>(number));
        } else if (option == "--required-bytes" &&
                   ParseUnsigned(value, std::numeric_limits<uint64_t>::max(), number)) {
            editor.SetRequiredBytes(number);
        } else {
            error = "bad option or value: " + option + " " + value;
            ok = false;
        }
        if (!ok) {
            err << "ovrapack: " << error << "\n" << kUsage;
            return ExitCodes::kUsage;
        }
    }
    if (!image.Save(error)) {
        err << "ovrapack: " << error << "\n";
        return ExitCodes::kFailure;
    }
    out << "patched " << args[0] << "\n";
    return ExitCodes::kOk;
}

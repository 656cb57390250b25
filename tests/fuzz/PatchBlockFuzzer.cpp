// Takes the input as an executable: finds its patch blocks, binds to the one block
// (in memory and, through the scanner, on disk) and rewrites its values with ones
// drawn from the input's tail. Refusals carry a reason; every value set reads back;
// nothing outside the block's value slots changes and the markers stay where they were.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzScratch.h"
#include "payload/PatchBlockEditor.h"
#include "tools/ovrapack/read/PatchBlockScanner.h"
#include "tools/ovrapack/read/PatchFields.h"
#include "tools/ovrapack/read/PatchableImage.h"

namespace {

void CheckScanner(const std::vector<uint8_t>& image, const std::vector<size_t>& blocks)
{
    const auto path = FuzzScratchFolder("patch") / "Setup.exe";
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    }
    std::string error;
    const auto found = CPatchBlockScanner::Scan(path, error);
    // Inputs are far smaller than the scanner's window: it sees every block.
    Check(found.has_value() == (blocks.size() == 1));
    Check(found.has_value() != !error.empty());
    if (found) {
        Check(found->nOffset == blocks.front() && found->nFileSize == image.size());
        Check(std::equal(found->block.begin(), found->block.end(), image.begin() + blocks.front()));
    }
}

bool OnlyBlockChanged(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after, size_t block)
{
    if (before.size() != after.size())
        return false;
    for (size_t i = 0; i < before.size(); ++i) {
        if (before[i] != after[i] && (i < block || i >= block + PatchLayout::kSize))
            return false;
    }
    for (size_t m = 0; m < 5; ++m) {
        const size_t at = block + PatchLayout::kMarkerOffsets[m];
        if (!std::equal(after.begin() + at, after.begin() + at + PatchLayout::kMarkerLength, before.begin() + at))
            return false;
    }
    return true;
}

void Edit(CPatchBlockEditor& editor, FuzzedDataProvider& values)
{
    std::string error;
    const std::string id = values.ConsumeRandomLengthString(24);
    const bool idSet = editor.SetBuildId(id, error);
    Check(idSet == (id.size() < PatchLayout::kBuildIdSlot && id.find('\0') == std::string::npos));
    Check(idSet || !error.empty());
    const std::string name = values.ConsumeRandomLengthString(16);
    error.clear();
    const bool nameSet = editor.SetSetupName(name, error);
    Check(nameSet == (name.size() < PatchLayout::kSetupNameSlot && name.find('\0') == std::string::npos));
    Check(nameSet || !error.empty());
    const uint32_t stream = values.ConsumeIntegral<uint32_t>();
    const uint64_t required = values.ConsumeIntegral<uint64_t>();
    const uint32_t picture = values.ConsumeIntegral<uint32_t>();
    editor.SetStreamOffset(stream);
    editor.SetRequiredBytes(required);
    editor.SetPictureOffset(picture);

    const SPatchFields fields = SPatchFields::From(editor.View());
    Check(!idSet || fields.strBuildId == id);
    Check(!nameSet || fields.strSetupName == name);
    Check(fields.strBuildId.size() <= PatchLayout::kBuildIdSlot && fields.strSetupName.size() <= PatchLayout::kSetupNameSlot);
    Check(fields.nStreamOffset == stream && fields.nRequiredBytes == required && fields.nPictureOffset == picture);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> original(data, data + size);
    const std::vector<size_t> blocks = CPatchBlockEditor::FindBlocks(original);
    for (size_t i = 1; i < blocks.size(); ++i)
        Check(blocks[i - 1] < blocks[i] && blocks[i] + PatchLayout::kSize <= size);
    CheckScanner(original, blocks);

    CPatchableImage image;
    std::string error;
    const bool bound = image.Bind(original, error);
    Check(bound == (blocks.size() == 1));
    Check(bound || !error.empty());
    if (!bound)
        return 0;
    // The block as read before any edit: every text is cut inside its slot.
    const SPatchFields read = image.Fields();
    Check(read.strBuildId.size() <= PatchLayout::kBuildIdSlot && read.strSetupName.size() <= PatchLayout::kSetupNameSlot);

    std::vector<uint8_t> copy = original;
    error.clear();
    auto editor = CPatchBlockEditor::Locate(copy, error);
    Check(editor.has_value() && editor->Offset() == blocks.front());
    FuzzedDataProvider values(data, size);
    Edit(*editor, values);
    Check(OnlyBlockChanged(original, copy, blocks.front()));
    const std::vector<size_t> after = CPatchBlockEditor::FindBlocks(copy);
    Check(std::find(after.begin(), after.end(), blocks.front()) != after.end());
    return 0;
}

#include "PackageWriter.h"

#include <fstream>
#include <limits>
#include <system_error>

#include "ContainerSource.h"
#include "tools/ovrapack/pe/PeChecksum.h"
#include "tools/ovrapack/pe/PeImage.h"
#include "tools/ovrapack/cli/TerminalProgress.h"
#include "payload/ContainerLayout.h"
#include "payload/PatchBlockEditor.h"
#include "tools/ovrapack/io/PathText.h"

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kMaximum32 = std::numeric_limits<uint32_t>::max();
constexpr size_t kBitmapHeaderMinimum = 26;  // file header and the smallest info header

using PathText::Display;

} // namespace

std::string CPackageWriter::DeriveBuildId(const SInputs& inputs, const CContainerPlan& plan)
{
    CContentHash hash;
    hash.Update(inputs.stub.data(), inputs.stub.size());
    hash.UpdateNumber(inputs.picture.size());
    hash.Update(inputs.picture.data(), inputs.picture.size());
    hash.UpdateNumber(plan.digest.nLow);
    hash.UpdateNumber(plan.digest.nHigh);
    const std::string setup = inputs.setupName.value_or(std::string(1, '\0'));
    hash.UpdateNumber(setup.size());
    hash.Update(setup.data(), setup.size());
    const auto& s = inputs.settings;
    for (const uint64_t value : {uint64_t(s.nLc), uint64_t(s.nLp), uint64_t(s.nPb), uint64_t(s.nDictionary),
                                 uint64_t(s.nFastBytes)})
        hash.UpdateNumber(value);
    return CContentHash::ToHex(hash.Final().nLow, 16);
}

bool CPackageWriter::Prepare(SInputs inputs, const CContainerPlan& plan, std::string& error)
{
    m_inputs = std::move(inputs);
    m_result = SResult();
    std::vector<uint8_t>& stub = m_inputs.stub;
    const auto image = CPeImage::Parse(stub, error);
    if (!image) {
        error = "stub: " + error;
        return false;
    }
    if (!m_inputs.picture.empty() &&
        (m_inputs.picture.size() < kBitmapHeaderMinimum || m_inputs.picture[0] != 'B' || m_inputs.picture[1] != 'M')) {
        error = "picture: not a Windows bitmap file (it must start with \"BM\")";
        return false;
    }
    image->CutAtRawEnd(stub);
    if (!m_inputs.branding.Empty() && !m_inputs.branding.Apply(stub, error))
        return false;
    // Branding moves sections, never the headers: the checksum field stays where it was.
    m_checksumField.reset();
    if (LittleEndian::ReadU32(stub.data() + image->ChecksumOffset()) != 0)
        m_checksumField = image->ChecksumOffset();
    auto editor = CPatchBlockEditor::Locate(stub, error);
    if (!editor) {
        error = "stub: " + error;
        return false;
    }
    const uint64_t streamOffset = stub.size() + m_inputs.picture.size();
    if (streamOffset > kMaximum32) {
        error = "stub and picture take " + std::to_string(streamOffset) +
                " bytes; the stream must start below 4 GiB";
        return false;
    }
    // The identifier is derived from the stub as it was before any value was patched.
    if (m_inputs.strBuildId.empty())
        m_inputs.strBuildId = DeriveBuildId(m_inputs, plan);
    if (m_inputs.setupName && !editor->SetSetupName(*m_inputs.setupName, error)) {
        error = "--setup: " + error;
        return false;
    }
    if (!editor->SetBuildId(m_inputs.strBuildId, error)) {
        error = "--build-id: " + error;
        return false;
    }
    editor->SetStreamOffset(static_cast<uint32_t>(streamOffset));
    editor->SetPictureOffset(m_inputs.picture.empty() ? 0 : static_cast<uint32_t>(stub.size()));
    editor->SetRequiredBytes(plan.ContainerSize() + plan.nTotalFileBytes);
    m_result.fields = SPatchFields::From(editor->View());
    m_result.nStubSize = stub.size();
    m_result.nDictionary = CLzmaStreamEncoder::EffectiveDictionary(m_inputs.settings, plan.ContainerSize());
    return true;
}

bool CPackageWriter::Write(const fs::path& out, const CContainerPlan& plan, CSourceReader& reader,
                           CTerminalProgress* progress, std::string& error)
{
    fs::path temporary = out;
    temporary += ".partial";
    bool written = false;
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file) {
            error = "cannot create \"" + Display(temporary) + "\"";
            return false;
        }
        written = WriteTo(file, plan, reader, progress, error);
        file.close();
        if (written && !file) {
            error = "cannot write \"" + Display(temporary) + "\" (disk full?)";
            written = false;
        }
    }
    std::error_code ec;
    if (written) {
        fs::rename(temporary, out, ec);
        if (!ec)
            return true;
        error = "cannot rename \"" + Display(temporary) + "\" to \"" + Display(out) + "\": " + ec.message();
    }
    fs::remove(temporary, ec);
    return false;
}

bool CPackageWriter::WriteTo(std::ostream& out, const CContainerPlan& plan, CSourceReader& reader,
                             CTerminalProgress* progress, std::string& error)
{
    std::optional<CPeChecksum> checksum;
    if (m_checksumField)
        checksum.emplace(*m_checksumField);
    const auto writeBytes = [&out, &checksum](const uint8_t* data, size_t size, std::string& writeError) {
        if (checksum)
            checksum->Update(data, size);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!out) {
            writeError = "cannot write the output (disk full?)";
            return false;
        }
        return true;
    };
    if (!writeBytes(m_inputs.stub.data(), m_inputs.stub.size(), error) ||
        !writeBytes(m_inputs.picture.data(), m_inputs.picture.size(), error))
        return false;

    CContainerSource source(plan, reader);
    if (!source.Prepare(error))
        return false;
    const uint64_t containerSize = plan.ContainerSize();
    uint64_t streamSize = 0;
    const auto countingWrite = [&](const uint8_t* data, size_t size, std::string& writeError) {
        streamSize += size;
        return writeBytes(data, size, writeError);
    };
    const auto read = [&source](uint8_t* buffer, size_t size, size_t& got, std::string& readError) {
        return source.Read(buffer, size, got, readError);
    };
    const auto report = [progress](uint64_t consumed) {
        if (progress)
            progress->Update(consumed);
    };
    if (progress)
        progress->Begin("compressing", containerSize);
    if (!CLzmaStreamEncoder::Encode(m_inputs.settings, containerSize, read, countingWrite, report, error))
        return false;
    if (progress)
        progress->End();
    m_result.nStreamSize = streamSize;

    // Zero padding to the next 8-byte boundary, where a signature may begin.
    const uint64_t end = m_result.fields.nStreamOffset + streamSize;
    const uint8_t zeros[8] = {};
    if (!writeBytes(zeros, static_cast<size_t>((8 - end % 8) % 8), error))
        return false;
    m_result.nFileSize = (end + 7) / 8 * 8;
    if (checksum) {
        uint8_t field[4];
        LittleEndian::WriteU32(field, checksum->Final());
        out.seekp(static_cast<std::streamoff>(*m_checksumField));
        out.write(reinterpret_cast<const char*>(field), sizeof(field));
        out.seekp(0, std::ios::end);
    }
    out.flush();
    if (!out) {
        error = "cannot write the output (disk full?)";
        return false;
    }
    return true;
}

#include "OutputFile.h"

#include <memory>

#include "PayloadHost.h"
#include "PayloadNameRules.h"
#include "PayloadResult.h"

void COutputFile::AddPiece(uint64_t target, uint32_t length, uint32_t dataPosition)
{
    if (target + length > kMaxFileSize) {
        m_bBeyondLimit = true;
        return;
    }
    if (!m_mapPieces.try_emplace(static_cast<uint32_t>(target), SPiece{length, dataPosition}).second)
        ++m_nIgnoredPieces;
}

namespace {

bool PiecesFailed(std::string& detail, const std::string& name, const char* what, uint64_t offset)
{
    // Built piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) on short literal
    // copies into strings here.
    std::string text(1, '"');
    text.append(CPayloadNameRules::Printable(name)).append("\": ").append(what);
    text.append(" at offset ").append(std::to_string(offset));
    detail = std::move(text);
    return false;
}

} // namespace

bool COutputFile::CheckPieces(std::string& detail) const
{
    if (m_bBeyondLimit)
        return PiecesFailed(detail, m_strName, "content beyond 4 GiB", kMaxFileSize);
    uint64_t expected = 0;
    for (const auto& [target, piece] : m_mapPieces) {
        if (target > expected)
            return PiecesFailed(detail, m_strName, "gap in the content", expected);
        if (target < expected)
            return PiecesFailed(detail, m_strName, "overlapping content", target);
        expected += piece.nLength;
    }
    return true;
}

int COutputFile::Open(IPayloadHost& host)
{
    m_path = host.PackageFolder().Join(host.NameToPath(m_strName));
    host.CreateFolders(m_path.Parent());
    if (!m_stream.Open(m_path, CFileStream::Mode::CreateReadWrite)) {
        host.ReportOutputFileError(m_path);
        return PayloadResult::kOpenFailed;
    }
    return PayloadResult::kOk;
}

int COutputFile::Assemble(CFileStream* temporary, IPayloadHost& host, std::string& detail)
{
    // Before the file exists: running out of memory must not leave it empty behind.
    const auto buffer = m_mapPieces.empty() ? nullptr : std::make_unique<unsigned char[]>(kCopyBufferSize);
    if (!m_stream.IsOpen()) {
        const int opened = Open(host);
        if (opened != PayloadResult::kOk)
            return opened;
    }
    if (!m_mapPieces.empty()) {
        if (!temporary || !temporary->IsOpen())
            return FailAssembly(host, PayloadResult::kReadError, detail, "no temporary data file to read");
        for (const auto& entry : m_mapPieces) {
            const int copied = CopyPiece(*temporary, entry.second, buffer.get(), host, detail);
            if (copied != PayloadResult::kOk)
                return copied;
        }
    }
    if (!m_stream.Close())
        return FailAssembly(host, PayloadResult::kWriteError, detail, "cannot write");
    return PayloadResult::kOk;
}

int COutputFile::CopyPiece(CFileStream& temporary, const SPiece& piece, unsigned char* buffer, IPayloadHost& host,
                           std::string& detail)
{
    if (!temporary.SeekTo(piece.nDataPosition))
        return FailAssembly(host, PayloadResult::kReadError, detail, "cannot read the temporary data file for");
    uint32_t remaining = piece.nLength;
    while (remaining > 0) {
        const size_t step = remaining < kCopyBufferSize ? remaining : kCopyBufferSize;
        if (temporary.Read(buffer, step) != step)
            return FailAssembly(host, PayloadResult::kReadError, detail, "cannot read the temporary data file for");
        if (!m_stream.Write(buffer, step))
            return FailAssembly(host, PayloadResult::kWriteError, detail, "cannot write");
        remaining -= static_cast<uint32_t>(step);
    }
    return PayloadResult::kOk;
}

int COutputFile::FailAssembly(IPayloadHost& host, int code, std::string& detail, const char* what)
{
    (void)m_stream.Close();
    const bool removed = host.RemoveFile(m_path);
    // The stored 8-bit name, not the path: the text is shown in the ANSI code page.
    detail = std::string(what) + " \"" + CPayloadNameRules::Printable(m_strName) + "\"";
    if (!removed)
        detail += " (its incomplete copy could not be removed)";
    return code;
}

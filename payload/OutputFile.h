#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "FileStream.h"

class IPayloadHost;

// One file of the package (or the temporary data file): its name, its stream once
// opened, and the pieces of the data section that make it up, by target offset.
class COutputFile
{
public:
    struct SPiece
    {
        uint32_t nLength;
        uint32_t nDataPosition;
        bool operator==(const SPiece&) const = default;
    };
    using PieceMap = std::map<uint32_t, SPiece>;

    static constexpr uint64_t kMaxFileSize = 0xFFFFFFFFull;
    static constexpr size_t kCopyBufferSize = 32768;

    COutputFile() = default;
    explicit COutputFile(std::string name) : m_strName(std::move(name)) {}

    const std::string& Name() const { return m_strName; }
    void SetName(std::string name) { m_strName = std::move(name); }
    const PieceMap& Pieces() const { return m_mapPieces; }
    size_t IgnoredPieces() const { return m_nIgnoredPieces; }
    bool IsOpen() const { return m_stream.IsOpen(); }
    CFileStream& Stream() { return m_stream; }

    // Keeps the first piece recorded for a target offset (later ones are only counted). A piece reaching past the
    // 32-bit file size limit is not kept; the file is marked and fails CheckPieces.
    void AddPiece(uint64_t target, uint32_t length, uint32_t dataPosition);

    // The pieces cover the file from offset 0 without gap or overlap. Otherwise false,
    // with detail naming the file and the offset.
    [[nodiscard]] bool CheckPieces(std::string& detail) const;

    // Creates the directory and the file (truncating it). 0, or 35 after the host has
    // reported the failure.
    [[nodiscard]] int Open(IPayloadHost& host);

    // Writes the file from its pieces read out of the temporary data file and closes
    // it. 0, 35 (open), 8 (temporary data file short) or 9 (write failed); on 8 or 9
    // the half-written file is removed and detail says what happened.
    [[nodiscard]] int Assemble(CFileStream* temporary, IPayloadHost& host, std::string& detail);

    // The full path the last Open used (empty before).
    const CPayloadPath& Path() const { return m_path; }

private:
    [[nodiscard]] int CopyPiece(CFileStream& temporary, const SPiece& piece, unsigned char* buffer,
                                IPayloadHost& host, std::string& detail);
    int FailAssembly(IPayloadHost& host, int code, std::string& detail, const char* what);

    std::string m_strName;
    CFileStream m_stream;
    PieceMap m_mapPieces;
    CPayloadPath m_path;
    size_t m_nIgnoredPieces = 0;
    bool m_bBeyondLimit = false;
};

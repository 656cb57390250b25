#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The headers of a PE32 or PE32+ executable, as far as joining a payload needs
// them: where the image's last section ends in the file, and the pointers into
// whatever followed it (a signature, a symbol table) that must not point into the
// payload after the cut.
class CPeImage
{
public:
    // head holds the file's first bytes (at least its headers); fileSize is the whole file's.
    static std::optional<CPeImage> Parse(const std::vector<uint8_t>& head, uint64_t fileSize, std::string& error);
    static std::optional<CPeImage> Parse(const std::vector<uint8_t>& file, std::string& error)
    {
        return Parse(file, file.size(), error);
    }

    // Offset just past the raw data of the last section (or the headers).
    uint64_t RawEnd() const { return m_nRawEnd; }
    bool IsPe32Plus() const { return m_bPe32Plus; }

    // Cuts the file at RawEnd and clears the certificate-table directory entry and
    // the COFF symbol-table pointer when they point at or past the cut.
    void CutAtRawEnd(std::vector<uint8_t>& file) const;

private:
    uint64_t m_nRawEnd = 0;
    size_t m_nCoffHeader = 0;
    size_t m_nCertificateEntry = 0;  // 0 when the image has no such directory entry
    bool m_bPe32Plus = false;
};

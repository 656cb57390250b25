#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class COutputFile;

// One chunk of the container: a run of the data section and the places in the
// output files where all of its bytes belong.
class CChunkRecord
{
public:
    struct SDestination
    {
        uint16_t nFileIndex;     // as stored, bit 15 selects the blocked layout
        uint64_t nTargetOffset;  // running; 64-bit so that an overflow is seen, not wrapped
        uint16_t nBlockPosition; // running, 0 to 32767
        COutputFile* pFile;
    };

    CChunkRecord(uint32_t length, std::vector<SDestination> destinations)
        : m_vecDestinations(std::move(destinations)), m_nLength(length)
    {
    }

    // Records pieces for the next bytes of this chunk, which start at dataPosition of
    // the data section. Returns how many bytes of the chunk that covered: 0 once the
    // chunk is complete, else the smaller of available and its unplaced bytes.
    uint32_t Place(uint32_t dataPosition, size_t available);

    bool IsComplete() const { return m_nPlaced == m_nLength; }
    uint32_t Length() const { return m_nLength; }
    uint32_t Placed() const { return m_nPlaced; }
    const std::vector<SDestination>& Destinations() const { return m_vecDestinations; }

private:
    static void PlaceBlocked(SDestination& destination, uint32_t dataPosition, uint32_t count);

    std::vector<SDestination> m_vecDestinations;
    uint32_t m_nLength;
    uint32_t m_nPlaced = 0;
};

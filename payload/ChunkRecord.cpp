#include "ChunkRecord.h"

#include "ContainerLayout.h"
#include "OutputFile.h"

using ContainerLayout::kBlockGap;
using ContainerLayout::kBlockSize;

uint32_t CChunkRecord::Place(uint32_t dataPosition, size_t available)
{
    const uint32_t unplaced = m_nLength - m_nPlaced;
    if (unplaced == 0)
        return 0;
    const uint32_t count = available < unplaced ? static_cast<uint32_t>(available) : unplaced;
    for (SDestination& destination : m_vecDestinations) {
        if (destination.nFileIndex & ContainerLayout::kBlockedFlag) {
            PlaceBlocked(destination, dataPosition, count);
        } else {
            destination.pFile->AddPiece(destination.nTargetOffset, count, dataPosition);
            destination.nTargetOffset += count;
        }
    }
    m_nPlaced += count;
    return count;
}

void CChunkRecord::PlaceBlocked(SDestination& destination, uint32_t dataPosition, uint32_t count)
{
    uint64_t offset = destination.nTargetOffset;
    uint32_t position = destination.nBlockPosition;
    while (count > 0) {
        const uint32_t room = kBlockSize - position % kBlockSize;
        if (room == kBlockSize)
            offset += kBlockGap;
        const uint32_t step = room < count ? room : count;
        destination.pFile->AddPiece(offset, step, dataPosition);
        offset += step;
        position = (position + step) % kBlockSize;
        dataPosition += step;
        count -= step;
    }
    destination.nTargetOffset = offset;
    destination.nBlockPosition = static_cast<uint16_t>(position);
}

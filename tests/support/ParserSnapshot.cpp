#include "ParserSnapshot.h"

#include "payload/PayloadParser.h"

SParserSnapshot SParserSnapshot::Of(const CPayloadParser& parser)
{
    SParserSnapshot view;
    view.nFailure = parser.Failure();
    view.strDetail = parser.FailureDetail();
    view.nState = static_cast<int>(parser.GetState());
    view.nDataLength = parser.DataLength();
    view.nDataConsumed = parser.DataConsumed();
    for (const COutputFile& file : parser.Files()) {
        view.vecNames.push_back(file.Name());
        std::vector<Piece> joined;
        for (const auto& [target, piece] : file.Pieces()) {
            if (!joined.empty()) {
                auto& [lastTarget, lastLength, lastData] = joined.back();
                if (uint64_t{lastTarget} + lastLength == target && uint64_t{lastData} + lastLength == piece.nDataPosition) {
                    lastLength += piece.nLength;
                    continue;
                }
            }
            joined.emplace_back(target, piece.nLength, piece.nDataPosition);
        }
        view.vecPieces.push_back(std::move(joined));
    }
    for (const CChunkRecord& chunk : parser.Chunks()) {
        std::vector<Destination> destinations;
        for (const auto& d : chunk.Destinations())
            destinations.emplace_back(d.nFileIndex, d.nTargetOffset, d.nBlockPosition,
                                      static_cast<size_t>(d.pFile - parser.Files().data()));
        view.vecChunks.emplace_back(chunk.Length(), chunk.Placed(), std::move(destinations));
    }
    return view;
}

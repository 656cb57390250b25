// Feeds one container to two parsers, whole and in steps chosen by the input's first
// two bytes; both must agree on everything they built. The whole one then finishes
// into a scratch folder, which must hold every file it wrote.
#include <cstddef>
#include <cstdint>

#include "FuzzScratch.h"
#include "ParserSnapshot.h"
#include "payload/NativePayloadHost.h"
#include "payload/PayloadParser.h"
#include "payload/PayloadResult.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void FeedInSteps(CPayloadParser& parser, const uint8_t* data, size_t size, uint32_t seed)
{
    size_t at = 0;
    while (at < size) {
        seed = seed * 1103515245u + 12345u;
        const size_t step = std::min<size_t>(size - at, 1 + (seed >> 16) % 97);
        const size_t accepted = parser.Feed(data + at, step);
        if (accepted != step) {
            Check(parser.Failure() != 0);
            return;
        }
        at += step;
    }
}

bool PiecesAreSound(const CPayloadParser& parser)
{
    for (const COutputFile& file : parser.Files()) {
        std::string detail;
        if (file.IgnoredPieces() != 0 || !file.CheckPieces(detail))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const uint32_t seed = data[0] | (data[1] << 8);
    data += 2;
    size -= 2;
    const auto folder = FuzzScratchFolder("parser");
    CNativePayloadHost host(folder / "whole");

    CPayloadParser whole(host);
    const size_t accepted = whole.Feed(data, size);
    Check(accepted == size || whole.Failure() != 0);
    {
        CNativePayloadHost splitHost(folder / "split");
        CPayloadParser split(splitHost);
        FeedInSteps(split, data, size, seed);
        SParserSnapshot wholeView = SParserSnapshot::Of(whole);
        SParserSnapshot splitView = SParserSnapshot::Of(split);
        // Pieces depend on where blocks were cut only when a piece was dropped for
        // an occupied target, and then the files do not fit together anyway.
        if (!PiecesAreSound(whole)) {
            wholeView.vecPieces.clear();
            splitView.vecPieces.clear();
        }
        Check(wholeView == splitView);
    }

    const int result = whole.Finish();
    Check(result == PayloadResult::kOk || result == PayloadResult::kDataError || result == PayloadResult::kOpenFailed ||
          result == PayloadResult::kOutOfMemory);
    Check(OnlyInside(folder));
    return 0;
}

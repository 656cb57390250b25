#include "PayloadExtraction.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "CancelFlag.h"
#include "ContainerLayout.h"
#include "ErrorTextBuffer.h"
#include "LzmaHeapAllocator.h"
#include "PayloadHost.h"
#include "PayloadInStream.h"
#include "PayloadParser.h"
#include "PayloadResult.h"

namespace {

constexpr size_t kBlockSize = 65536;
constexpr size_t kHeaderSize = ContainerLayout::kStreamHeaderSize;
static_assert(LZMA_PROPS_SIZE == ContainerLayout::kStreamPropertiesSize);
constexpr uint64_t kUnknownSize = ~0ull;

int ReadHeader(CPayloadInStream& stream, unsigned char* header)
{
    size_t have = 0;
    while (have < kHeaderSize) {
        size_t got = kHeaderSize - have;
        const int read = stream.Read(header + have, got);
        if (read != PayloadResult::kOk)
            return read;
        if (got == 0)
            return PayloadResult::kInputEof;
        have += got;
    }
    return PayloadResult::kOk;
}

const char* MessageFor(int code)
{
    switch (code) {
    case PayloadResult::kOutOfMemory: return "Can not allocate memory";
    case PayloadResult::kDataError: return "Data error";
    case PayloadResult::kWriteError: return "Can not write output file";
    case PayloadResult::kReadError: return "Can not read input file";
    case PayloadResult::kRemoveFailed: return "Can not delete the temporary data file";
    default: return nullptr;
    }
}

// What a user can do about it, on a line of its own after the error and its detail.
std::string AdviceFor(int code, IPayloadHost& host)
{
    switch (code) {
    case PayloadResult::kDataError:
    case PayloadResult::kUnsupported:
    case PayloadResult::kInputEof:
        return "The installer file is damaged or incomplete: download it again.\n";
    case PayloadResult::kWriteError:
        return "The disk may be full: could not write to " + host.PathToText(host.PackageFolder()) + "\n";
    default:
        return {};
    }
}

// What the parser found wrong with the package, or else what the driver knows, on a
// line of its own after the message.
int Translate(int code, CErrorTextBuffer& text, IPayloadHost& host, const std::string& detail)
{
    if (code == PayloadResult::kOk || code == PayloadResult::kCancelled)
        return code;
    if (const char* message = MessageFor(code))
        text.AppendMessage(message);
    else
        text.AppendCode(code);
    const bool parserFailed = g_pPayloadParser && g_pPayloadParser->Failure() == code;
    const std::string& reason = parserFailed ? g_pPayloadParser->FailureDetail() : detail;
    if (!reason.empty()) {
        text.Append(reason);
        text.Append("\n");
    }
    text.Append(AdviceFor(code, host));
    return PayloadResult::kDataError;
}

std::string DictionaryText(const unsigned char* header)
{
    const uint32_t size = LittleEndian::ReadU32(header + ContainerLayout::kStreamDictionaryField);
    constexpr uint32_t kMiB = 1024 * 1024;
    if (size < kMiB)
        return std::to_string(size) + " bytes";
    return std::to_string(size / kMiB + (size % kMiB != 0 ? 1 : 0)) + " MiB";
}

// Frees the decoder's table and window however the loop ends.
class CDecoderRelease
{
public:
    CDecoderRelease(CLzmaDec& decoder, ISzAlloc* allocator) : m_decoder(decoder), m_pAllocator(allocator) {}
    ~CDecoderRelease() { LzmaDec_Free(&m_decoder, m_pAllocator); }
    CDecoderRelease(const CDecoderRelease&) = delete;
    CDecoderRelease& operator=(const CDecoderRelease&) = delete;

private:
    CLzmaDec& m_decoder;
    ISzAlloc* m_pAllocator;
};

int RunExtraction(const CPayloadPath& stubPath, uint32_t streamOffset, CErrorTextBuffer& text, IPayloadHost& host,
                  ISzAlloc* allocator)
{
    // A parser left from an earlier run in this process would mix two packages.
    DestroyPayloadParser();
    int code = PayloadResult::kOk;
    std::string detail;
    {
        CPayloadInStream stream;
        if (!stream.Open(stubPath)) {
            text.AppendMessage("Can not open input file");
            return PayloadResult::kDataError;
        }
        const int seek = stream.Seek(streamOffset);
        if (seek != 0)
            return seek;
        code = DecodePayloadStream(stream, host, allocator, detail);
        stream.Close();
    }
    if (code == PayloadResult::kOk) {
        if (!g_pPayloadParser)
            g_pPayloadParser = std::make_unique<CPayloadParser>(host);
        code = g_pPayloadParser->Finish();
    }
    if (g_pPayloadParser)
        g_pPayloadParser->CloseTemporaryFile();
    return Translate(code, text, host, detail);
}

} // namespace

int ExtractPayload(const CPayloadPath& stubPath, uint32_t streamOffset, char* errorText, IPayloadHost* host)
{
    return ExtractPayload(stubPath, streamOffset, errorText, host, LzmaHeapAllocator());
}

int ExtractPayload(const CPayloadPath& stubPath, uint32_t streamOffset, char* errorText,
                   IPayloadHost* host, ISzAlloc* allocator)
{
    CErrorTextBuffer text(errorText);
    if (!host) {
        text.AppendMessage("Can not write output file");
        return PayloadResult::kDataError;
    }
    const size_t kept = std::strlen(errorText);
    try {
        return RunExtraction(stubPath, streamOffset, text, *host, allocator);
    } catch (const std::bad_alloc&) {
        // A table, a buffer or a text: whatever was half appended gives way to the reason.
        if (g_pPayloadParser)
            g_pPayloadParser->CloseTemporaryFile();
        errorText[kept] = '\0';
        text.AppendMessage(MessageFor(PayloadResult::kOutOfMemory));
        text.Append("not enough memory to extract the package\n");
        return PayloadResult::kDataError;
    }
}

int DecodePayloadStream(CPayloadInStream& stream, IPayloadHost& host, ISzAlloc* allocator, std::string& detail)
{
    unsigned char header[kHeaderSize];
    const int read = ReadHeader(stream, header);
    if (read != PayloadResult::kOk)
        return read;
    const uint64_t decodedSize = LittleEndian::ReadU64(header + ContainerLayout::kStreamDecodedSizeField);

    CLzmaDec decoder;
    LzmaDec_Construct(&decoder);
    const SRes allocated = LzmaDec_Allocate(&decoder, header, LZMA_PROPS_SIZE, allocator);
    if (allocated == SZ_ERROR_MEM)
        detail = "not enough memory for the decoder and its dictionary of " + DictionaryText(header);
    if (allocated != SZ_OK)
        return allocated;
    const CDecoderRelease release(decoder, allocator);
    return DecodeLoop(decoder, stream, decodedSize, host);
}

int DecodeLoop(CLzmaDec& decoder, CPayloadInStream& stream, uint64_t decodedSize, IPayloadHost& host)
{
    LzmaDec_Init(&decoder);
    const bool sizeKnown = decodedSize != kUnknownSize;
    host.PostProgress(0);
    if (g_bCancelExtraction)
        return PayloadResult::kCancelled;

    const auto input = std::make_unique<unsigned char[]>(kBlockSize);
    const auto output = std::make_unique<unsigned char[]>(kBlockSize);
    uint64_t remaining = decodedSize;
    size_t inPos = 0;
    size_t inSize = 0;
    while (true) {
        if (inPos == inSize) {
            inSize = kBlockSize;
            const int read = stream.Read(input.get(), inSize);
            if (read != PayloadResult::kOk)
                return read;
            inPos = 0;
        }
        SizeT inAvail = inSize - inPos;
        SizeT outAvail = kBlockSize;
        ELzmaFinishMode finishMode = LZMA_FINISH_ANY;
        if (sizeKnown && remaining < kBlockSize) {
            outAvail = static_cast<SizeT>(remaining);
            finishMode = LZMA_FINISH_END;
        }
        ELzmaStatus status = LZMA_STATUS_NOT_SPECIFIED;
        const SRes res =
            LzmaDec_DecodeToBuf(&decoder, output.get(), &outAvail, input.get() + inPos, &inAvail, finishMode, &status);
        inPos += inAvail;
        remaining -= outAvail;

        if (!g_pPayloadParser)
            g_pPayloadParser = std::make_unique<CPayloadParser>(host);
        if (g_pPayloadParser->Feed(output.get(), outAvail) != outAvail) {
            const int failure = g_pPayloadParser->Failure();
            return failure != 0 ? failure : PayloadResult::kWriteError;
        }
        if (res != SZ_OK)
            return res;
        if (sizeKnown && remaining == 0)
            return PayloadResult::kOk;
        if (inAvail == 0 && outAvail == 0)
            return sizeKnown || status != LZMA_STATUS_FINISHED_WITH_MARK ? PayloadResult::kDataError
                                                                         : PayloadResult::kOk;
        if (g_bCancelExtraction)
            return PayloadResult::kCancelled;
    }
}

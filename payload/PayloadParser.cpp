#include "PayloadParser.h"

#include <cstring>
#include <new>

#include "CancelFlag.h"
#include "PayloadHost.h"
#include "PayloadNameRules.h"
#include "PayloadResult.h"
#include "ProgressScale.h"

std::unique_ptr<CPayloadParser> g_pPayloadParser;

void DestroyPayloadParser()
{
    g_pPayloadParser.reset();
}

namespace {

using namespace ContainerLayout;
using LittleEndian::ReadU16;
using LittleEndian::ReadU32;

static_assert(CPayloadParser::kCarrySize >= kMaximumRecordSize, "a whole chunk record fits the carry buffer");

// Tables grow with the entries actually present; a count alone never reserves more.
constexpr size_t kMaxFilesReserved = 1024;
constexpr uint32_t kMaxChunksReserved = 65536;

} // namespace

CPayloadParser::CPayloadParser(IPayloadHost& host) : m_host(host)
{
}

size_t CPayloadParser::Feed(const uint8_t* bytes, size_t count)
{
    size_t done = 0;
    while (done < count && m_nFailure == 0) {
        const uint8_t* rest = bytes + done;
        const size_t available = count - done;
        size_t used = 0;
        switch (m_state) {
        case State::Header: used = HandleHeader(rest, available); break;
        case State::Names: used = HandleNames(rest, available); break;
        case State::TableHeader: used = HandleTableHeader(rest, available); break;
        case State::ChunkRecords: used = HandleChunkRecords(rest, available); break;
        case State::Data: used = HandleData(rest, available); break;
        }
        if (m_nFailure != 0)
            break;
        done += used;
    }
    return done;
}

const uint8_t* CPayloadParser::Gather(const uint8_t* bytes, size_t available, size_t size, size_t& consumed)
{
    if (m_nCarryCount + available < size) {
        Carry(bytes, available);
        consumed = available;
        return nullptr;
    }
    consumed = size - m_nCarryCount;
    const uint8_t* fields = bytes;
    if (m_nCarryCount > 0) {
        Carry(bytes, consumed);
        fields = m_carry.data();
    }
    m_nCarryCount = 0;
    return fields;
}

void CPayloadParser::Carry(const uint8_t* bytes, size_t count)
{
    // Callers bound every carried field by kCarrySize; this only guards the buffer.
    if (count > kCarrySize - m_nCarryCount) {
        Fail(PayloadResult::kDataError, "field larger than the carry buffer");
        return;
    }
    std::memcpy(m_carry.data() + m_nCarryCount, bytes, count);
    m_nCarryCount += count;
}

size_t CPayloadParser::HandleHeader(const uint8_t* bytes, size_t available)
{
    size_t consumed = 0;
    const uint8_t* fields = Gather(bytes, available, kHeaderSize, consumed);
    if (!fields)
        return consumed;
    m_nFileCount = ReadU16(fields + kFileCountField);
    try {
        m_vecFiles.reserve(m_nFileCount < kMaxFilesReserved ? m_nFileCount : kMaxFilesReserved);
    } catch (const std::bad_alloc&) {
        Fail(PayloadResult::kOutOfMemory, "no memory for a file table of " + std::to_string(m_nFileCount) + " files");
        return consumed;
    }
    m_state = State::Names;
    return consumed;
}

size_t CPayloadParser::HandleNames(const uint8_t* bytes, size_t available)
{
    if (m_nNamesRead == m_nFileCount) {
        m_state = State::TableHeader;
        return 0;
    }
    const size_t window = available < kCarrySize - m_nCarryCount ? available : kCarrySize - m_nCarryCount;
    const auto* nul = static_cast<const uint8_t*>(std::memchr(bytes, 0, window));
    if (!nul) {
        if (window < available || m_nCarryCount + available >= kCarrySize) {
            Fail(PayloadResult::kDataError, "file name " + std::to_string(m_nNamesRead) + " is longer than " +
                                                std::to_string(kCarrySize - 1) + " bytes");
            return 0;
        }
        Carry(bytes, available);
        return available;
    }
    const size_t length = static_cast<size_t>(nul - bytes);
    std::string name(reinterpret_cast<const char*>(m_carry.data()), m_nCarryCount);
    name.append(reinterpret_cast<const char*>(bytes), length);
    m_nCarryCount = 0;
    if (!AcceptName(std::move(name)))
        return 0;
    return length + 1;
}

bool CPayloadParser::AcceptName(std::string name)
{
    std::string reason;
    if (!CPayloadNameRules::IsSafeName(name, reason) ||
        !CPayloadNameRules::IsSafeRelativePath(m_host.NameToPath(name))) {
        if (reason.empty())
            reason = "file name that leaves the package folder";
        Fail(PayloadResult::kDataError, reason + ": \"" + CPayloadNameRules::Printable(name) + "\"");
        return false;
    }
    try {
        m_vecFiles.emplace_back(std::move(name));
    } catch (const std::bad_alloc&) {
        Fail(PayloadResult::kOutOfMemory, "no memory for the file table");
        return false;
    }
    ++m_nNamesRead;
    return true;
}

size_t CPayloadParser::HandleTableHeader(const uint8_t* bytes, size_t available)
{
    size_t consumed = 0;
    const uint8_t* fields = Gather(bytes, available, kTableHeaderSize, consumed);
    if (!fields)
        return consumed;
    m_nDataLength = ReadU32(fields + kDataLengthField);
    m_nChunkCount = ReadU32(fields + kChunkCountField);
    try {
        m_vecChunks.reserve(m_nChunkCount < kMaxChunksReserved ? m_nChunkCount : kMaxChunksReserved);
    } catch (const std::bad_alloc&) {
        Fail(PayloadResult::kOutOfMemory, "no memory for the chunk table");
        return consumed;
    }
    m_state = State::ChunkRecords;
    return consumed;
}

size_t CPayloadParser::HandleChunkRecords(const uint8_t* bytes, size_t available)
{
    if (m_nChunkRecordsRead == m_nChunkCount) {
        m_temporary.emplace(kTemporaryName);
        m_state = State::Data;
        return 0;
    }
    const uint8_t destinations = m_nCarryCount > 0 ? m_carry[kRecordCountField] : bytes[kRecordCountField];
    const size_t size = kRecordFixedSize + kDestinationSize * destinations;
    size_t consumed = 0;
    const uint8_t* record = Gather(bytes, available, size, consumed);
    if (record && !AcceptChunkRecord(record))
        return 0;
    return consumed;
}

bool CPayloadParser::AcceptChunkRecord(const uint8_t* record)
{
    const uint8_t count = record[kRecordCountField];
    std::vector<CChunkRecord::SDestination> destinations;
    try {
        destinations.reserve(count);
        for (uint8_t j = 0; j < count; ++j) {
            const uint8_t* field = record + kRecordFixedSize + kDestinationSize * j;
            const uint16_t fileIndex = ReadU16(field + kDestinationFileField);
            const size_t index = fileIndex & kIndexMask;
            if (index >= m_vecFiles.size()) {
                Fail(PayloadResult::kDataError, "chunk " + std::to_string(m_nChunkRecordsRead) +
                                                    " names file index " + std::to_string(index) + " of only " +
                                                    std::to_string(m_nFileCount) + " files");
                return false;
            }
            destinations.push_back({fileIndex, ReadU32(field + kDestinationTargetField),
                                    ReadU16(field + kDestinationBlockPositionField), &m_vecFiles[index]});
        }
        m_vecChunks.emplace_back(ReadU32(record + kRecordLengthField), std::move(destinations));
    } catch (const std::bad_alloc&) {
        Fail(PayloadResult::kOutOfMemory, "no memory for the chunk table");
        return false;
    }
    ++m_nChunkRecordsRead;
    return true;
}

size_t CPayloadParser::HandleData(const uint8_t* bytes, size_t available)
{
    PostDataProgress();
    if (m_nCurrentChunk < m_vecChunks.size() && m_nDataConsumed + available > kMaxDataSection) {
        Fail(PayloadResult::kDataError, "data section larger than 4 GiB");
        return 0;
    }
    size_t placed = 0;
    while (placed < available && m_nCurrentChunk < m_vecChunks.size()) {
        const uint32_t m = m_vecChunks[m_nCurrentChunk].Place(static_cast<uint32_t>(m_nDataConsumed), available - placed);
        m_nDataConsumed += m;
        placed += m;
        if (m == 0)
            ++m_nCurrentChunk;
    }
    if (!m_host.StoresData())
        return available;
    if (!m_temporary->IsOpen()) {
        const int opened = m_temporary->Open(m_host);
        if (opened != PayloadResult::kOk) {
            Fail(opened, {});
            return 0;
        }
    }
    // Flushed per block, so a full disk stops the run at the block that did not fit.
    if (!m_temporary->Stream().Write(bytes, available) || !m_temporary->Stream().Flush()) {
        Fail(PayloadResult::kWriteError, std::string("cannot write the temporary data file \"") + kTemporaryName + "\"");
        return 0;
    }
    return available;
}

void CPayloadParser::PostDataProgress()
{
    if (m_nDataLength == 0)
        return;
    const float share = static_cast<float>(m_nDataConsumed) / static_cast<float>(m_nDataLength);
    const double scaled = static_cast<double>(share) * ProgressScale::kFullScale * 0.5;
    // Data beyond the announced length must not push the first half past its end.
    const double capped = scaled < ProgressScale::kDataPhaseEnd ? scaled : ProgressScale::kDataPhaseEnd;
    PostProgress(static_cast<unsigned>(capped));
}

void CPayloadParser::PostProgress(unsigned value)
{
    if (value > m_nLastProgress) {
        m_host.PostProgress(value);
        m_nLastProgress = value;
    }
}

bool CPayloadParser::CheckComplete()
{
    const bool tablesComplete = (m_state == State::ChunkRecords || m_state == State::Data) &&
                                m_nChunkRecordsRead == m_nChunkCount;
    if (!tablesComplete) {
        Fail(PayloadResult::kDataError, "the package ends before its tables are complete");
        return false;
    }
    for (size_t c = m_nCurrentChunk; c < m_vecChunks.size(); ++c) {
        if (!m_vecChunks[c].IsComplete()) {
            Fail(PayloadResult::kDataError, "the package ends inside the data of chunk " + std::to_string(c));
            return false;
        }
    }
    for (const COutputFile& file : m_vecFiles) {
        std::string detail;
        if (!file.CheckPieces(detail)) {
            Fail(PayloadResult::kDataError, detail);
            return false;
        }
    }
    return true;
}

int CPayloadParser::Finish()
{
    if (m_nFailure != 0)
        return m_nFailure;
    // Everything is checked before the first file is written: a damaged package
    // leaves no output files behind.
    if (!CheckComplete())
        return m_nFailure;
    if (!m_host.StoresData())
        return PayloadResult::kOk;
    CFileStream* temporary = m_temporary ? &m_temporary->Stream() : nullptr;
    for (size_t i = 0; i < m_vecFiles.size(); ++i) {
        if (g_bCancelExtraction) {
            if (temporary)
                (void)temporary->Close();
            return PayloadResult::kCancelled;
        }
        const float share = static_cast<float>(i) / static_cast<float>(m_vecFiles.size());
        PostProgress(static_cast<unsigned>(static_cast<double>(share) * ProgressScale::kFullScale * 0.5 +
                                           ProgressScale::kDataPhaseEnd));
        std::string detail;
        const int assembled = m_vecFiles[i].Assemble(temporary, m_host, detail);
        if (assembled != PayloadResult::kOk)
            return Fail(assembled, detail);
    }
    if (temporary && !temporary->Close())
        return Fail(PayloadResult::kWriteError,
                    std::string("cannot write the temporary data file \"") + kTemporaryName + "\"");
    // A temporary data file left behind would fill the disk and block the clean-up.
    if (m_temporary && !m_temporary->Path().Empty() && !m_host.RemoveFile(m_temporary->Path()))
        return Fail(PayloadResult::kRemoveFailed, m_host.PathToText(m_temporary->Path()));
    return PayloadResult::kOk;
}

void CPayloadParser::CloseTemporaryFile()
{
    // Nothing more is written to it, and a failure here changes no outcome.
    if (m_temporary && m_temporary->IsOpen())
        (void)m_temporary->Stream().Close();
}

int CPayloadParser::Fail(int code, std::string detail)
{
    if (m_nFailure == 0) {
        m_nFailure = code;
        m_strFailureDetail = std::move(detail);
    }
    return m_nFailure;
}

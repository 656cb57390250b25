#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ChunkRecord.h"
#include "ContainerLayout.h"
#include "OutputFile.h"
#include "PayloadNameRules.h"

class IPayloadHost;

// Consumes the decoded container block by block, whatever the block sizes: builds
// the file and chunk tables, copies the data section to the temporary data file and
// records where its bytes belong. Finish then writes every file.
//
// A container it cannot use safely (an unsafe name, a file index outside the file
// table, a name longer than the carry buffer, a truncated container, files whose
// pieces do not fit together) stops it with a failure code and a detail text.
class CPayloadParser
{
public:
    enum class State { Header = 1, Names = 2, TableHeader = 3, ChunkRecords = 4, Data = 5 };

    static constexpr size_t kCarrySize = 4096;
    static constexpr const char* kTemporaryName = CPayloadNameRules::kTemporaryDataName;

    // The host receives progress and opens files; it must outlive the parser.
    explicit CPayloadParser(IPayloadHost& host);
    CPayloadParser(const CPayloadParser&) = delete;
    CPayloadParser& operator=(const CPayloadParser&) = delete;

    // Accepts all count bytes, or fewer once the parser has failed (see Failure).
    size_t Feed(const uint8_t* bytes, size_t count);

    // Writes every output file in name-table order and deletes the temporary data
    // file. 0, 13 (cancelled), 35 (a file failed to open) or the failure code.
    [[nodiscard]] int Finish();

    // Extraction has ended, whatever the outcome: an open temporary data file would
    // keep the package folder from being removed.
    void CloseTemporaryFile();

    // 0 while all is well, else a result code; the detail says what was wrong.
    int Failure() const { return m_nFailure; }
    const std::string& FailureDetail() const { return m_strFailureDetail; }

    State GetState() const { return m_state; }
    size_t FileCount() const { return m_nFileCount; }
    const std::vector<COutputFile>& Files() const { return m_vecFiles; }
    uint32_t ChunkCount() const { return m_nChunkCount; }
    const std::vector<CChunkRecord>& Chunks() const { return m_vecChunks; }
    uint32_t DataLength() const { return m_nDataLength; }
    uint64_t DataConsumed() const { return m_nDataConsumed; }
    const COutputFile* TemporaryFile() const { return m_temporary ? &*m_temporary : nullptr; }

private:
    size_t HandleHeader(const uint8_t* bytes, size_t available);
    size_t HandleNames(const uint8_t* bytes, size_t available);
    size_t HandleTableHeader(const uint8_t* bytes, size_t available);
    size_t HandleChunkRecords(const uint8_t* bytes, size_t available);
    size_t HandleData(const uint8_t* bytes, size_t available);

    // A fixed-size field group: the bytes in place, or joined in the carry buffer.
    // Null (all bytes carried, consumed = available) until size bytes are together.
    const uint8_t* Gather(const uint8_t* bytes, size_t available, size_t size, size_t& consumed);
    void Carry(const uint8_t* bytes, size_t count);

    bool AcceptName(std::string name);
    bool AcceptChunkRecord(const uint8_t* record);
    void PostDataProgress();
    void PostProgress(unsigned value);
    [[nodiscard]] bool CheckComplete();
    int Fail(int code, std::string detail);

    IPayloadHost& m_host;
    State m_state = State::Header;
    std::array<uint8_t, kCarrySize> m_carry{};
    size_t m_nCarryCount = 0;
    size_t m_nFileCount = 0;
    size_t m_nNamesRead = 0;
    std::vector<COutputFile> m_vecFiles; // grows name by name; fixed once the chunk records refer to it
    uint32_t m_nChunkCount = 0;
    uint32_t m_nChunkRecordsRead = 0;
    std::vector<CChunkRecord> m_vecChunks;
    uint32_t m_nDataLength = 0;
    std::optional<COutputFile> m_temporary;
    size_t m_nCurrentChunk = 0;
    uint64_t m_nDataConsumed = 0;
    unsigned m_nLastProgress = 0;
    int m_nFailure = 0;
    std::string m_strFailureDetail;
};

// The process's one parser: created by the decode loop, kept after the run for the
// application's exit to release.
extern std::unique_ptr<CPayloadParser> g_pPayloadParser;

// Releases the parser with its tables; the application calls it when it exits.
void DestroyPayloadParser();

#pragma once

#include <cstdint>
#include <string>

#include <lzma/LzmaDec.h>

#include "PayloadPath.h"

class CPayloadInStream;
class IPayloadHost;

// The pipeline's entry as the stub's worker calls it (the real one below, or a
// scripted one in tests): the stub's own path, the stream offset, the caller's
// CErrorTextBuffer::kSize-byte error text and the host.
using ExtractPayloadFn = int (*)(const CPayloadPath& stubPath, uint32_t streamOffset, char* errorText,
                                 IPayloadHost* host);

// Decodes the compressed payload at streamOffset of the stub's file, feeds it to the
// process's container parser and, when decoding succeeded, assembles the files.
// Returns 0, 13 (cancelled), 1 with the reason appended to errorText (256 bytes,
// zero-filled by the caller), or the system error code of a failed seek.
// The host must outlive the call; the parser it creates keeps using it.
[[nodiscard]] int ExtractPayload(const CPayloadPath& stubPath, uint32_t streamOffset, char* errorText,
                                 IPayloadHost* host);
// The same with the decoder's memory from the given allocator.
[[nodiscard]] int ExtractPayload(const CPayloadPath& stubPath, uint32_t streamOffset, char* errorText,
                                 IPayloadHost* host, ISzAlloc* allocator);

// Reads the 13-byte header, allocates the decoder and runs DecodeLoop. A result code;
// when the decoder does not fit in memory, detail names the dictionary's size.
[[nodiscard]] int DecodePayloadStream(CPayloadInStream& stream, IPayloadHost& host, ISzAlloc* allocator,
                                      std::string& detail);

// Decodes in 64 KiB blocks into the parser (created on the first step). A result code.
[[nodiscard]] int DecodeLoop(CLzmaDec& decoder, CPayloadInStream& stream, uint64_t decodedSize, IPayloadHost& host);

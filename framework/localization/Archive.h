#pragma once

#include <cstdint>
#include <string>

class CLanguage;

// A byte stream that serializable objects read themselves from or write
// themselves to. Failures are thrown as EXCEPTION values.
class IArchive
{
public:
    enum EXCEPTION {
        kStringAllocation = 0,  // a string buffer could not be allocated
        kBadMagic = 1,          // the data is not what the reader expects
        kTruncated = 2,         // a length or count points past the end of the data
    };

    virtual ~IArchive() = default;
    virtual bool IsStoring() const = 0;
    virtual void Write(const void* data, unsigned size) = 0;
    // Reads exactly `size` bytes or throws kTruncated without reading any.
    virtual unsigned Read(void* data, unsigned size) = 0;
    // Bytes left to read; a writing archive has none.
    virtual uint64_t Available() const = 0;

    void WriteUInt32(uint32_t value);
    uint32_t ReadUInt32();
    // Length-prefixed 8-bit text without terminator; the text ends at its first zero byte.
    void WriteString(const char* text);
    void ReadString(std::string& text);
    // Three 8-bit letters; three zero bytes for a neutral or invalid language.
    void WriteLanguage(const CLanguage& language);
    void ReadLanguage(CLanguage& language);
};

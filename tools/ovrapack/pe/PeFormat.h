#pragma once

#include <cstddef>
#include <cstdint>

// The headers of a PE32 or PE32+ image, as far as the tool reads or changes them.
// Offsets are from the start of each header; every field is little-endian.
//
//   DOS header       "MZ", ..., u32 offset of the PE signature at 0x3C
//   signature        "PE\0\0"
//   COFF header      section count, symbol-table pointer and count, optional-header size
//   optional header  magic, sizes, alignments, checksum, directory count, directories
//   section table    one header per section, right behind the optional header
namespace PeFormat {

constexpr uint16_t kDosMagic = 0x5A4D;  // "MZ"
constexpr size_t kDosHeaderSize = 64;
constexpr size_t kSignatureOffsetField = 0x3C;

constexpr uint32_t kSignature = 0x00004550;  // "PE\0\0"
constexpr size_t kSignatureSize = 4;

constexpr size_t kCoffSectionCountField = 2;
constexpr size_t kCoffSymbolTableField = 8;
constexpr size_t kCoffSymbolCountField = 12;
constexpr size_t kCoffOptionalSizeField = 16;
constexpr size_t kCoffCharacteristicsField = 18;
constexpr size_t kCoffHeaderSize = 20;
// The pointer and the count, cleared together when the table is cut off.
constexpr size_t kCoffSymbolFieldsSize = 8;

constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;
constexpr size_t kOptionalMagicField = 0;
constexpr size_t kOptionalInitialisedDataField = 8;
constexpr size_t kOptionalSectionAlignmentField = 32;
constexpr size_t kOptionalFileAlignmentField = 36;
constexpr size_t kOptionalSizeOfImageField = 56;
constexpr size_t kOptionalSizeOfHeadersField = 60;
constexpr size_t kOptionalChecksumField = 64;
// The fields up to here sit at the same offsets in both forms.
constexpr size_t kOptionalCommonSize = 68;
// PE32+ widens the image base and the four stack and heap sizes to 64 bits and drops
// BaseOfData: the directory count moves 16 bytes back.
constexpr size_t kOptionalDirectoryCountField32 = 92;
constexpr size_t kOptionalDirectoryCountField64 = 108;

constexpr size_t kDirectoryAddressField = 0;
constexpr size_t kDirectorySizeField = 4;
constexpr size_t kDirectorySize = 8;
constexpr size_t kResourceDirectory = 2;
constexpr size_t kCertificateDirectory = 4;  // its address is a file offset
constexpr size_t kBaseRelocationDirectory = 5;

constexpr size_t kSectionNameField = 0;
constexpr size_t kSectionNameSize = 8;
constexpr size_t kSectionVirtualSizeField = 8;
constexpr size_t kSectionRvaField = 12;
constexpr size_t kSectionRawSizeField = 16;
constexpr size_t kSectionRawPointerField = 20;
constexpr size_t kSectionCharacteristicsField = 36;
constexpr size_t kSectionHeaderSize = 40;
constexpr uint32_t kInitialisedData = 0x00000040;
constexpr uint32_t kDiscardable = 0x02000000;

constexpr size_t DirectoryCountField(bool pe32Plus)
{
    return pe32Plus ? kOptionalDirectoryCountField64 : kOptionalDirectoryCountField32;
}

static_assert(kSignatureOffsetField + sizeof(uint32_t) == kDosHeaderSize);
static_assert(kCoffHeaderSize == kCoffCharacteristicsField + sizeof(uint16_t));
static_assert(kCoffSymbolFieldsSize == kCoffSymbolCountField + sizeof(uint32_t) - kCoffSymbolTableField);
static_assert(kOptionalChecksumField == kOptionalSizeOfHeadersField + sizeof(uint32_t));
static_assert(kOptionalCommonSize == kOptionalChecksumField + sizeof(uint32_t));
static_assert(kOptionalDirectoryCountField64 == kOptionalDirectoryCountField32 + 4 * sizeof(uint32_t));
static_assert(kDirectorySize == kDirectorySizeField + sizeof(uint32_t));
static_assert(kSectionHeaderSize == kSectionCharacteristicsField + sizeof(uint32_t));
static_assert(kSectionVirtualSizeField == kSectionNameField + kSectionNameSize);

} // namespace PeFormat

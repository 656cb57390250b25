#include "PayloadEntry.h"

#include <cstring>

// Stands in until the decode pipeline is linked: every run fails with this text.
int ExtractPayload(const std::filesystem::path& /*stubPath*/, uint32_t /*streamOffset*/, char* errorText,
                   IPayloadHost* /*host*/)
{
    std::strncat(errorText, "\nError: Payload decoding is not built into this program\n", 255 - std::strlen(errorText));
    return 1;
}

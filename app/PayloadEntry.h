#pragma once

#include <cstdint>
#include <filesystem>

class IPayloadHost;

// The payload pipeline's entry point.
int ExtractPayload(const std::filesystem::path& stubPath, uint32_t streamOffset, char* errorText, IPayloadHost* host);

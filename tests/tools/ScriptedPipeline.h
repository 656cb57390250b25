#pragma once

#include <cstdint>

#include "payload/PayloadPath.h"

class IPayloadHost;

// A payload pipeline for GUI tests, steered by the environment variable
// OVRA_SCRIPT ("key=value;..."), with the entry point's signature:
//   steps=N        progress posts after the first 0 (default 20), up to 499
//   delay=MS       pause after each post (default 20), cancel checked each time
//   fail=TEXT      end with result 1 and "\nError: TEXT\n"
//   openfail=NAME  report NAME as an output file that can't be opened, then fail
//   setup=PATH     copy PATH into the package folder as "setup.exe"
//   record=PATH    write "cancelled" or "done" there when the pipeline ends
int ScriptedExtractPayload(const CPayloadPath& stubPath, uint32_t streamOffset, char* errorText,
                           IPayloadHost* host);

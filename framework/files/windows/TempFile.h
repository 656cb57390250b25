#pragma once

#include "framework/files/BasicString.h"
#include "framework/files/PFile.h"

#include <cstdint>
#include <memory>

// A new file of its own in the directory, open for writing, that is deleted with its
// object: unbuffered (and collecting writes) with flag 8, through the system's cache
// otherwise. The file exists from the moment it is handed out, so no other caller can be
// given the same name. None when no name could be had.
std::unique_ptr<PFile> CreateTempFile(CPathString::View directory, std::uint32_t nFlags);

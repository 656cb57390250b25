#pragma once

#include <string_view>

// The program's catalogue document as stored, byte-order mark included: a resource of
// the program's module on Windows, compiled-in bytes elsewhere.
std::string_view EmbeddedCatalogText();

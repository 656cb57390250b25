#include "EmbeddedCatalogText.h"

#include <windows.h>

#include "resources/resource.h"

std::string_view EmbeddedCatalogText()
{
    // The program's own module: a satellite resource library never carries the catalogue.
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(IDR_PRODUCT_CATALOG), MAKEINTRESOURCEW(10));
    if (found == nullptr)
        return {};
    const HGLOBAL loaded = ::LoadResource(module, found);
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (data == nullptr)
        return {};
    return {static_cast<const char*>(data), ::SizeofResource(module, found)};
}

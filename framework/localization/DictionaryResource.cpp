#include "DictionaryResource.h"

#include "MergedLocalizationDictionary.h"

int LoadMergedDictionary(HINSTANCE module, UINT id)
{
    const HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(id), L"Dictionary");
    if (resource == nullptr)
        return 0;
    const HGLOBAL loaded = ::LoadResource(module, resource);
    if (loaded == nullptr)
        return 0;
    const void* bytes = ::LockResource(loaded);
    if (bytes == nullptr)
        return 0;
    // Every read stays within the resource.
    const DWORD size = ::SizeofResource(module, resource);
    return GetMergedDictionary().Load(bytes, size) ? 1 : 0;
}

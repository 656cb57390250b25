#include <windows.h>

#include <cstdlib>

#include "OvraSFXApp.h"
#include "payload/PayloadExtraction.h"
#include "win32/WinApp.h"

// The one application object, constructed before the entry point runs.
COvraSFXApp theApp(static_cast<int (*)(const CPayloadPath&, uint32_t, char*, IPayloadHost*)>(&ExtractPayload));

namespace {

// An installer is often started from a downloads folder: never load a system DLL
// from the program's own folder.
void HardenDllSearch()
{
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDefault != nullptr)
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    ::SetDllDirectoryW(L"");
}

} // namespace

// The runtime's default terminate handler demangles the exception's type name for a
// console this GUI program does not have; its demangler alone is some 50 KB of the stub.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int cmdShow)
{
    HardenDllSearch();
    return AfxWinMain(instance, cmdLine, cmdShow);
}

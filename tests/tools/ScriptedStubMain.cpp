// The installer stub with a scripted pipeline in place of the payload decoder, for
// GUI tests that need slow, failing or cancellable extractions on demand.
#include <windows.h>

#include "ScriptedPipeline.h"
#include "app/OvraSFXApp.h"
#include "win32/WinApp.h"

COvraSFXApp theApp(&ScriptedExtractPayload);

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int cmdShow)
{
    return AfxWinMain(instance, cmdLine, cmdShow);
}

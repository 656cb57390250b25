#include "PackageFolder.h"

#include "OvraSFXApp.h"
#include "payload/PatchBlock.h"
#include "win32/StringFormat.h"
#include "win32/TextConversion.h"

std::wstring GetPackageFolder()
{
    // The dialog fixes it on the main thread before its worker starts; the worker and
    // the setup launch only read it afterwards.
    static std::wstring folder;
    if (folder.empty()) {
        const COvraSFXApp* app = GetOvraSFXApp();
        if (app == nullptr)
            return folder;
        const std::wstring buildId = AnsiToWide(CPatchBlock::Current().BuildId(), CP_THREAD_ACP);
        folder = FormatString(L"%sOVRA%s\\", app->m_strExtractRoot.c_str(), buildId.c_str());
    }
    return folder;
}

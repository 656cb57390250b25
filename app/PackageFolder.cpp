#include "PackageFolder.h"

#include "OvraSFXApp.h"
#include "payload/PatchBlock.h"
#include "win32/StringFormat.h"
#include "win32/TextConversion.h"

std::wstring GetPackageFolder()
{
    // Fixed on the main thread before the worker starts; read-only afterwards.
    static std::wstring folder;
    if (folder.empty()) {
        const COvraSFXApp* app = GetOvraSFXApp();
        if (app == nullptr)
            return folder;
        const std::wstring buildId = AnsiToWide(CPatchBlock::Current().BuildId(), CP_ACP);
        folder = FormatString(L"%sOVRA%s\\", app->m_strExtractRoot.c_str(), buildId.c_str());
    }
    return folder;
}

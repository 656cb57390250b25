#include "ProductCatalog.h"

#include "EmbeddedCatalogText.h"
#include "OvraSXSError.h"
#include "ToHResult.h"
#include "Utf8Text.h"

#ifdef _WIN32
#include "CatalogRegistryKey.h"
#endif

#include <tinyxml.h>

namespace {

using namespace CatalogErrors;

constexpr std::uint32_t kKeySetValue = 0x2;
constexpr std::uint32_t kKeyCreateSubKey = 0x4;

constexpr const char* kAreaElements[] = {
    "REGISTRY-SHARED-FOR-ALL",
    "REGISTRY-SHARED-FOR-LINES",
    "REGISTRY-SHARED-FOR-APPLICATIONS",
    "REGISTRY-INSTALLATION",
};

int IntAttribute(const TiXmlElement& element, const char* name, int missing)
{
    int value = 0;
    return element.QueryIntAttribute(name, &value) == TIXML_SUCCESS ? value : missing;
}

} // namespace

CProductCatalog::CProductCatalog(bool allowOlderGenerationWrites)
    : CProductCatalog(allowOlderGenerationWrites, EmbeddedCatalogText())
{
}

CProductCatalog::CProductCatalog(bool allowOlderGenerationWrites, std::string_view document)
    : m_bAllowOlderGenerationWrites(allowOlderGenerationWrites), m_strDocumentText(document)
{
}

CProductCatalog::~CProductCatalog() = default;

void CProductCatalog::LoadDocument()
{
    if (m_pHandle)
        return;
    auto document = std::make_unique<TiXmlDocument>();
    document->Parse(m_strDocumentText.c_str(), nullptr, TIXML_ENCODING_UNKNOWN);
    if (document->Error())
        throw COvraSXSError(kInvalidData, kOriginContent);
    m_pDocument = std::move(document);
    m_pHandle = std::make_unique<TiXmlHandle>(m_pDocument.get());
}

void CProductCatalog::SelectProductLine(int productLineId)
{
    if (m_pSelectedLine != nullptr && m_nSelectedId == productLineId)
        return;
    if (!m_pHandle)
        throw COvraSXSError(kInvalidData, kOriginState);
    for (const TiXmlElement* generation = m_pHandle->FirstChild("OVRA").FirstChild("GENERATION").ToElement();
         generation != nullptr; generation = generation->NextSiblingElement()) {
        for (const TiXmlElement* line = generation->FirstChildElement("PRODUCT-LINE"); line != nullptr;
             line = line->NextSiblingElement()) {
            int id = 0;
            if (line->QueryIntAttribute("id", &id) != TIXML_SUCCESS || id != productLineId || id == -1)
                continue;
            m_nGenerationId = IntAttribute(*generation, "id", -1);
            m_pSelectedLine = line;
            m_nSelectedId = productLineId;
            const char* name = line->Attribute("name");
            m_strSelectedName = name != nullptr ? WideFromUtf8(name) : std::wstring();
            return;
        }
    }
    throw COvraSXSError(kUnknownProduct, kOriginContent);
}

std::wstring CProductCatalog::GetAreaPath(const char* elementName, int rootSelector) const
{
    if (m_pSelectedLine == nullptr)
        throw COvraSXSError(kInvalidData, kOriginState);
    const TiXmlElement* area = m_pSelectedLine->FirstChildElement(elementName);
    if (area == nullptr)
        throw COvraSXSError(kInvalidData, kOriginContent);
    const char* attribute = nullptr;
    if (rootSelector == SCatalogKeyLocation::kLocalMachine)
        attribute = "HKLM";
    else if (rootSelector == SCatalogKeyLocation::kCurrentUser)
        attribute = "HKCU";
    else
        throw COvraSXSError(kInvalidData, kOriginContent);
    const char* value = area->Attribute(attribute);
    if (value == nullptr)
        throw COvraSXSError(kBadFormat, kOriginContent);
    return WideFromUtf8(value);
}

std::wstring CProductCatalog::ResolveAreaPath(int rootSelector, int areaKind, int productLineId)
{
    LoadDocument();
    SelectProductLine(productLineId);
    if (productLineId == kLineWithoutSharedAreas && (areaKind == kSharedForLines || areaKind == kSharedForApplications))
        areaKind = kSharedForAll;
    if (areaKind < kSharedForAll || areaKind > kInstallation)
        throw COvraSXSError(1, kOriginAreaKind);
    return GetAreaPath(kAreaElements[areaKind], rootSelector);
}

SCatalogKeyLocation CProductCatalog::MakeAreaKey(int rootSelector, std::uint32_t accessMask, int areaKind,
                                                 int productLineId)
{
    SCatalogKeyLocation location;
    location.path = ResolveAreaPath(rootSelector, areaKind, productLineId);
    // Keys of older generations can be read, never written, unless the caller says so.
    if (m_nGenerationId != kWritableGeneration && !m_bAllowOlderGenerationWrites)
        accessMask &= ~(kKeySetValue | kKeyCreateSubKey);
    location.accessMask = accessMask;
    location.rootSelector = rootSelector;
    return location;
}

#ifdef _WIN32
CatalogHResult CProductCatalog::GetApplicationsSharedKey(int rootSelector, std::uint32_t accessMask,
                                                         int productLineId, CCatalogRegistryKey& out)
{
    try {
        out = CCatalogRegistryKey(MakeAreaKey(rootSelector, accessMask, kSharedForApplications, productLineId));
        return CatalogHResults::kOk;
    } catch (...) {
        return CurrentExceptionToHResult();
    }
}

CatalogHResult CProductCatalog::GetInstallationKey(int rootSelector, std::uint32_t accessMask, int productLineId,
                                                   CCatalogRegistryKey& out)
{
    try {
        out = CCatalogRegistryKey(MakeAreaKey(rootSelector, accessMask, kInstallation, productLineId));
        return CatalogHResults::kOk;
    } catch (...) {
        return CurrentExceptionToHResult();
    }
}
#endif

CatalogHResult CProductCatalog::GetApplicationsSharedPath(int rootSelector, int productLineId, std::wstring& out)
{
    try {
        out = ResolveAreaPath(rootSelector, kSharedForApplications, productLineId);
        return CatalogHResults::kOk;
    } catch (...) {
        return CurrentExceptionToHResult();
    }
}

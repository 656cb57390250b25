#pragma once

#include "CatalogKeyLocation.h"
#include "CatalogResult.h"

#include <memory>
#include <string>
#include <string_view>

class CCatalogRegistryKey;
class TiXmlDocument;
class TiXmlElement;
class TiXmlHandle;

// The maker's catalogue of product generations, their product lines and the registry
// areas of each line, read from the program's embedded catalogue document. Made for
// one use: its document is parsed on the first operation and kept until destruction.
class CProductCatalog
{
public:
    // Registry area kinds.
    static constexpr int kSharedForAll = 0;
    static constexpr int kSharedForLines = 1;
    static constexpr int kSharedForApplications = 2;
    static constexpr int kInstallation = 3;
    // The product line whose generation has no shared areas for lines and applications.
    static constexpr int kLineWithoutSharedAreas = 708;
    // The generation whose keys may be written without permission for older ones.
    static constexpr int kWritableGeneration = 2019;

    explicit CProductCatalog(bool allowOlderGenerationWrites);
    // Over another document, UTF-8 with or without a byte-order mark.
    CProductCatalog(bool allowOlderGenerationWrites, std::string_view document);
    ~CProductCatalog();
    CProductCatalog(const CProductCatalog&) = delete;
    CProductCatalog& operator=(const CProductCatalog&) = delete;

#ifdef _WIN32
    [[nodiscard]] CatalogHResult GetApplicationsSharedKey(int rootSelector, std::uint32_t accessMask,
                                                          int productLineId, CCatalogRegistryKey& out);
    [[nodiscard]] CatalogHResult GetInstallationKey(int rootSelector, std::uint32_t accessMask, int productLineId,
                                                    CCatalogRegistryKey& out);
#endif
    [[nodiscard]] CatalogHResult GetApplicationsSharedPath(int rootSelector, int productLineId, std::wstring& out);

    // The steps behind the public operations; they raise COvraSXSError.
    void LoadDocument();
    void SelectProductLine(int productLineId);
    std::wstring GetAreaPath(const char* elementName, int rootSelector) const;
    std::wstring ResolveAreaPath(int rootSelector, int areaKind, int productLineId);
    SCatalogKeyLocation MakeAreaKey(int rootSelector, std::uint32_t accessMask, int areaKind, int productLineId);

    int GetGenerationId() const { return m_nGenerationId; }
    int GetSelectedId() const { return m_nSelectedId; }
    const std::wstring& GetSelectedName() const { return m_strSelectedName; }

private:
    int m_nGenerationId = -1;
    std::unique_ptr<TiXmlDocument> m_pDocument;
    std::unique_ptr<TiXmlHandle> m_pHandle;
    const TiXmlElement* m_pSelectedLine = nullptr;
    int m_nSelectedId = -1;
    std::wstring m_strSelectedName;
    bool m_bAllowOlderGenerationWrites;
    std::string m_strDocumentText;
};

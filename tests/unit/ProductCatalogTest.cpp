#include <gtest/gtest.h>

#include "framework/catalogue/OvraSXSError.h"
#include "framework/catalogue/ProductCatalog.h"

#include <string>

namespace {

constexpr std::uint32_t kKeyRead = 0x20019;
constexpr std::uint32_t kKeyWrite = 0x20006;
constexpr std::uint32_t kReadControl = 0x20000;

// The embedded catalogue: the program's own document.
class EmbeddedCatalog : public ::testing::Test
{
protected:
    CProductCatalog m_catalog{false};
};

TEST_F(EmbeddedCatalog, AnIdUnderTwoGenerationsResolvesInTheNewest)
{
    const SCatalogKeyLocation key = m_catalog.MakeAreaKey(2, kKeyRead, CProductCatalog::kSharedForApplications, 1200);
    EXPECT_EQ(m_catalog.GetGenerationId(), 2022);
    EXPECT_EQ(key.path, L"Software\\Ovra\\Suite 2022\\Studio\\Shared");
    EXPECT_EQ(m_catalog.GetSelectedName(), L"Ovra Studio");
}

TEST_F(EmbeddedCatalog, OnlyTheWritableGenerationKeepsWriteAccess)
{
    // 1200's newest generation is 2022: its keys are for reading.
    EXPECT_EQ(m_catalog.MakeAreaKey(1, kKeyWrite, CProductCatalog::kInstallation, 1200).accessMask, kReadControl);
    const SCatalogKeyLocation current = m_catalog.MakeAreaKey(1, kKeyWrite, CProductCatalog::kInstallation, 1034);
    EXPECT_EQ(m_catalog.GetGenerationId(), 2019);
    EXPECT_EQ(current.accessMask, kKeyWrite);
    EXPECT_EQ(current.path, L"Software\\Ovra\\Suite 2019\\Office\\Installation");
    EXPECT_EQ(current.rootSelector, 1);

    CProductCatalog permissive(true);
    EXPECT_EQ(permissive.MakeAreaKey(1, kKeyWrite | 0x4, CProductCatalog::kInstallation, 1010).accessMask,
              kKeyWrite | 0x4);
}

TEST_F(EmbeddedCatalog, LineWithoutSharedAreasUsesTheAreaSharedByAll)
{
    std::wstring path;
    ASSERT_EQ(m_catalog.GetApplicationsSharedPath(2, 708, path), 0);
    EXPECT_EQ(path, L"Software\\Ovra\\Families\\Ovra 7");
    EXPECT_EQ(m_catalog.ResolveAreaPath(1, CProductCatalog::kSharedForLines, 708), path);
    EXPECT_EQ(m_catalog.ResolveAreaPath(1, CProductCatalog::kInstallation, 708),
              L"Software\\Ovra\\Families\\Ovra 7\\Installation");
}

TEST_F(EmbeddedCatalog, RootSelectorPicksTheHiveAttribute)
{
    EXPECT_EQ(m_catalog.ResolveAreaPath(1, CProductCatalog::kSharedForApplications, 1105),
              L"Software\\Ovra\\Suite 2019\\Archive\\Shared");
    EXPECT_EQ(m_catalog.ResolveAreaPath(2, CProductCatalog::kSharedForApplications, 1105),
              L"Software\\Ovra\\Suite 2019\\Archive\\User Shared");
}

TEST_F(EmbeddedCatalog, PublicOperationsAnswerFailuresWithHResults)
{
    std::wstring path = L"unchanged";
    EXPECT_EQ(static_cast<std::uint32_t>(m_catalog.GetApplicationsSharedPath(0, 1034, path)), 0x8007000Du);
    EXPECT_EQ(static_cast<std::uint32_t>(m_catalog.GetApplicationsSharedPath(3, 1034, path)), 0x8007000Du);
    EXPECT_EQ(static_cast<std::uint32_t>(m_catalog.GetApplicationsSharedPath(2, -1, path)), 0x8007065Eu);
    EXPECT_EQ(static_cast<std::uint32_t>(m_catalog.GetApplicationsSharedPath(2, 4711, path)), 0x8007065Eu);
    EXPECT_EQ(path, L"unchanged");
}

TEST_F(EmbeddedCatalog, StepsRaiseTheirNumberAndOrigin)
{
    const auto raised = [](auto step) -> std::pair<std::uint32_t, std::uint32_t> {
        try {
            step();
        } catch (const COvraSXSError& error) {
            return {error.GetError(), error.GetOrigin()};
        }
        return {0, 0};
    };
    EXPECT_EQ(raised([&] { m_catalog.SelectProductLine(1034); }), std::make_pair(13u, 0x20000u));
    EXPECT_EQ(raised([&] { (void)m_catalog.GetAreaPath("REGISTRY-INSTALLATION", 1); }),
              std::make_pair(13u, 0x20000u));
    EXPECT_EQ(raised([&] { (void)m_catalog.ResolveAreaPath(1, 4, 1034); }), std::make_pair(1u, 0x40000u));
    EXPECT_EQ(raised([&] { (void)m_catalog.ResolveAreaPath(1, -1, 1034); }), std::make_pair(1u, 0x40000u));
    EXPECT_EQ(raised([&] { (void)m_catalog.ResolveAreaPath(1, 1, 708); }).first, 0u);
    EXPECT_EQ(raised([&] { (void)m_catalog.GetAreaPath("REGISTRY-SHARED-FOR-LINES", 1); }),
              std::make_pair(13u, 0x10000u));
}

// Documents of our own for what the embedded one does not have.
CatalogHResult SharedPathResult(const char* document, int id, std::wstring& path)
{
    CProductCatalog catalog(false, document);
    return catalog.GetApplicationsSharedPath(2, id, path);
}

TEST(CatalogDocument, MissingHiveAttributeGivesBadFormat)
{
    std::wstring path;
    EXPECT_EQ(static_cast<std::uint32_t>(SharedPathResult(
                  "<OVRA><GENERATION id=\"1\"><PRODUCT-LINE id=\"5\"><REGISTRY-SHARED-FOR-APPLICATIONS HKLM=\"A\"/>"
                  "</PRODUCT-LINE></GENERATION></OVRA>",
                  5, path)),
              0x80070009u);
}

TEST(CatalogDocument, DocumentThatDoesNotParseGivesInvalidData)
{
    std::wstring path;
    EXPECT_EQ(static_cast<std::uint32_t>(SharedPathResult("<OVRA><GENERATION id=\"1\">", 5, path)), 0x8007000Du);
    EXPECT_EQ(static_cast<std::uint32_t>(SharedPathResult("", 5, path)), 0x8007000Du);
}

TEST(CatalogDocument, GenerationWithoutNumericIdSelectsWithGenerationMinusOne)
{
    CProductCatalog catalog(false,
                            "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?><!-- c -->"
                            "<OVRA><GENERATION id=\"new\"><!-- c --><PRODUCT-LINE id=\"x\"/>"
                            "<PRODUCT-LINE id=\"5\" name=\"L\xC3\xA4nge\">"
                            "<REGISTRY-INSTALLATION HKLM=\"Software\\Ovra\\\xC3\xA4\" HKCU=\"\"/>"
                            "</PRODUCT-LINE></GENERATION></OVRA>");
    const SCatalogKeyLocation key = catalog.MakeAreaKey(1, kKeyWrite, CProductCatalog::kInstallation, 5);
    EXPECT_EQ(catalog.GetGenerationId(), -1);
    EXPECT_EQ(catalog.GetSelectedName(), L"L\u00E4nge");
    EXPECT_EQ(key.path, L"Software\\Ovra\\\u00E4");
    EXPECT_EQ(key.accessMask, kReadControl);
    EXPECT_EQ(catalog.ResolveAreaPath(2, CProductCatalog::kInstallation, 5), L"");
}

} // namespace

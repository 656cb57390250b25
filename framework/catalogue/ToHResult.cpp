#include "ToHResult.h"

#include "OvraSXSError.h"

CatalogHResult ToHResult(const std::exception& error)
{
    const auto* own = dynamic_cast<const COvraSXSError*>(&error);
    if (own == nullptr)
        return CatalogHResults::kUnexpected;
    const auto number = static_cast<CatalogHResult>(own->GetError());
    return number <= 0 ? number : CatalogHResults::FromWin32(own->GetError());
}

CatalogHResult CurrentExceptionToHResult()
{
    try {
        throw;
    } catch (const std::exception& error) {
        return ToHResult(error);
    } catch (...) {
        return CatalogHResults::kUnexpected;
    }
}

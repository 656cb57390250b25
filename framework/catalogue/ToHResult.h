#pragma once

#include "CatalogResult.h"

#include <exception>

// The HRESULT of an error caught at a public operation: a COvraSXSError with number n
// gives n itself when n is not positive as a signed value, else HRESULT_FROM_WIN32(n);
// any other exception gives E_UNEXPECTED.
CatalogHResult ToHResult(const std::exception& error);
// The same for the exception being handled; call it inside a catch block only.
CatalogHResult CurrentExceptionToHResult();

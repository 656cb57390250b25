#pragma once

#include <string>

// Extraction root + "OVRA" + build identifier + backslash. Fixed by the first call
// that finds the application object; empty before that.
std::wstring GetPackageFolder();

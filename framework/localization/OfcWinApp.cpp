#include "OfcWinApp.h"

COfcWinApp::COfcWinApp(int localizationKind) : m_nLocalizationKind(localizationKind)
{
}

COfcWinApp::~COfcWinApp() = default;

#pragma once

#include <functional>
#include <vector>

#include "payload/NativePayloadHost.h"

// Test-only: a native host that keeps every progress value and can run an action on
// each one (for example to set the cancel flag at a chosen point).
class CRecordingPayloadHost : public CNativePayloadHost
{
public:
    using CNativePayloadHost::CNativePayloadHost;

    void PostProgress(unsigned value) override
    {
        m_vecProgress.push_back(value);
        if (m_onProgress)
            m_onProgress(value);
    }

    const std::vector<unsigned>& Progress() const { return m_vecProgress; }
    void OnProgress(std::function<void(unsigned)> action) { m_onProgress = std::move(action); }

private:
    std::vector<unsigned> m_vecProgress;
    std::function<void(unsigned)> m_onProgress;
};

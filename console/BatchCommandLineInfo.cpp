#include "console/BatchCommandLineInfo.h"

#include <cstring>

namespace {
bool SameSwitch(const std::string &param, const char *name) {
    if (param.size() != std::strlen(name))
        return false;
    for (size_t i = 0; i < param.size(); ++i) {
        char c = param[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != name[i])
            return false;
    }
    return true;
}
} // namespace

void CBatchCommandLineInfo::Fail(const std::string &error) {
    if (m_strError.empty())
        m_strError = error;
}

void CBatchCommandLineInfo::ParseParam(const std::string &param, bool bFlag, bool bLast) {
    if (m_pPendingValue) {
        std::string *value = m_pPendingValue;
        m_pPendingValue = nullptr;
        if (!bFlag && !param.empty()) {
            *value = param;
            return;
        }
        // A switch (or an empty argument) where the value belongs: the value is missing.
        Fail("/" + m_strPendingName + " 缺少值");
        if (!bFlag)
            return;
    }
    if (!bFlag) {
        CCommandLineInfo::ParseParam(param, bFlag, bLast);
        return;
    }
    struct ValueSwitch {
        const char *name;
        std::string *value;
    };
    const ValueSwitch valueSwitches[] = {
        {"reader", &m_strReader}, {"script", &m_strScript}, {"save", &m_strSave}, {"expect", &m_strExpect}};
    for (const ValueSwitch &s : valueSwitches) {
        if (!SameSwitch(param, s.name))
            continue;
        m_bBatch = true;
        if (!s.value->empty())
            Fail("/" + std::string(s.name) + " 重复");
        s.value->clear();
        m_strPendingName = s.name;
        if (bLast)
            Fail("/" + m_strPendingName + " 缺少值");
        else
            m_pPendingValue = s.value;
        return;
    }
    if (SameSwitch(param, "exit")) {
        m_bBatch = true;
        m_bExit = true;
        return;
    }
    CCommandLineInfo::ParseParam(param, bFlag, bLast);
}

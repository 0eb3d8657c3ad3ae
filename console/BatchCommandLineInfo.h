// The console's command line: the framework's file argument beside the switches of an unattended batch run.
#pragma once

#include <string>
#include "framework/CommandLineInfo.h"

class CBatchCommandLineInfo : public CCommandLineInfo {
public:
    // /reader NAME, /script FILE, /save FILE, /expect FILE and /exit, in any order and any letter case; a value is
    // the next argument (quoted when it holds spaces) and may not itself start like a switch. Unknown switches are
    // ignored, as the framework ignores them.
    void ParseParam(const std::string &param, bool bFlag, bool bLast) override;

    // Any of the five switches was given: the start is a batch run.
    bool IsBatch() const { return m_bBatch; }

    std::string m_strReader;
    std::string m_strScript;
    std::string m_strSave;
    std::string m_strExpect;
    bool m_bExit = false;
    bool m_bBatch = false;
    // The first fault in the switches ("/reader 缺少值", a value switch given twice); empty when sound.
    std::string m_strError;

private:
    void Fail(const std::string &error);

    // The switch that waits for its value, or none.
    std::string *m_pPendingValue = nullptr;
    std::string m_strPendingName;
};

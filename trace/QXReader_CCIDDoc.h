// The trace document: the numbered records of one trace window and their .trace file.
#pragma once

#include <windows.h>
#include <string>
#include <vector>
#include "framework/Document.h"

class CQXReader_CCIDDoc : public CDocument {
public:
    CQXReader_CCIDDoc() = default;

    // Adds the record "<--第n条 text @@ len -->\n" at the end; the modified flag is left alone. Returns 0.
    int AppendRecord(int nNumber, const std::string &strText);
    // Appends a copy of every record to arrDest (which is not emptied first). Returns 0.
    int CopyRecords(std::vector<std::string> &arrDest) const;

    BOOL OnNewDocument() override;
    // The records come from the text scan; the framework's open then reports file errors and decides the result.
    BOOL OnOpenDocument(const std::string &path) override;
    // Store: every record in the archive's length-prefixed string form. Load: nothing (the scan did the work).
    void Serialize(CArchive &ar) override;

    // Reads the whole file and scans it; a file that cannot be opened or read leaves the records as they are.
    // Returns 0 or the failing step's code (nobody is told).
    DWORD LoadTraceText(const std::string &path);
    // Replaces the records with every "<--" ... "-->" piece of the text; an empty text changes nothing.
    DWORD ParseTraceText(const std::string &strText);

    std::vector<std::string> m_arrRecords;

    // The largest file the scan reads into memory; anything bigger is left to the framework's open alone.
    static const DWORD kMaxTraceFileBytes = 256u * 1024u * 1024u;
};

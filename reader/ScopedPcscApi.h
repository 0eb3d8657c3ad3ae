// Replaces the PC/SC seam for one scope and puts the previous table back when it ends.
#pragma once

#include "reader/PcscApi.h"

class CScopedPcscApi {
public:
    explicit CScopedPcscApi(const PcscApi &api);
    ~CScopedPcscApi();
    CScopedPcscApi(const CScopedPcscApi &) = delete;
    CScopedPcscApi &operator=(const CScopedPcscApi &) = delete;

private:
    const PcscApi *m_pPrevious;
};

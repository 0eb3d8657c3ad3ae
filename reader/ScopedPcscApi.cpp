#include "reader/ScopedPcscApi.h"

CScopedPcscApi::CScopedPcscApi(const PcscApi &api) : m_pPrevious(SetPcscApi(&api)) {}

CScopedPcscApi::~CScopedPcscApi() {
    SetPcscApi(m_pPrevious);
}

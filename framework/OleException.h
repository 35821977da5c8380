// The framework's exception for a failed OLE/COM status. Raised only for
// programming errors; no window procedure or thread entry lets it pass.
#pragma once

#include <windows.h>

class COleException {
public:
    explicit COleException(SCODE sc) : m_sc(sc) {}

    SCODE m_sc;
};

[[noreturn]] void AfxThrowOleException(SCODE sc);

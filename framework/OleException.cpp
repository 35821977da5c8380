#include "OleException.h"

void AfxThrowOleException(SCODE sc)
{
    throw COleException(sc);
}

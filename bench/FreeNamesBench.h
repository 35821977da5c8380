// The free-names computation (FreePortNameList) for COM names over a port map
// with every one of the 256 names in use, and over an empty one.
#pragma once

#include "Figure.h"

Figure MeasureFreeNamesFullMap(int runs);
Figure MeasureFreeNamesEmptyMap(int runs);

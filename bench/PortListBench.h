// PortListRefresh over present port devices, against a bare loop of the setup
// calls that reads the same "PortName" values.
#pragma once

#include "Figure.h"

Figure MeasurePortListRefresh(int devices, int runs);

// The part of a refresh that the bare loop does not do: filling the list with
// that many rows, as the refresh fills it, without any device.
Figure MeasureListFill(int rows, int runs);

#include "plot/XYPlotChannel.h"

#include "plot/PlotLegend.h"

#include "plot/PlotChannel.h"

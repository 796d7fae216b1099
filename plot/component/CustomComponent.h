#pragma once
// The common base of the drawn components of the family. It adds nothing to the windowed
// component; it is the place where features shared by all of them belong.

#include "plot/component/WindowedComponent.h"

namespace ondrix {

class TCustomComponent : public TWindowedComponent {
public:
    TCustomComponent() = default;
};

}  // namespace ondrix

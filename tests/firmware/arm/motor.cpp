// The same kind of counters in C++: in a free function of a namespace and in member functions,
// next to a class's static member.
#include <stdint.h>

extern "C" uint32_t tick(void);
extern "C" int32_t filter(int32_t input);

namespace ctl {

struct Limits {
    int16_t low;
    int16_t high;
};

class Motor {
public:
    int32_t step();
    void demand(int32_t value) { demand_ = value; }
    static uint32_t instances;

private:
    int32_t demand_ = 0;
    int32_t position_ = 0;
};

uint32_t Motor::instances = 1;

int32_t Motor::step() {
    static uint32_t count;
    static Limits limits = {-100, 100};
    ++count;
    int32_t demand = demand_;
    if (demand < limits.low) demand = limits.low;
    if (demand > limits.high) demand = limits.high;
    position_ += demand;
    return position_;
}

uint32_t sample(uint32_t value) {
    static uint32_t total;
    static uint16_t last[3];
    last[total % 3] = static_cast<uint16_t>(value);
    total += value;
    return total + last[0];
}

Motor drive;

}  // namespace ctl

int main() {
    ctl::sample(tick());
    ctl::drive.demand(filter(5));
    return ctl::drive.step();
}

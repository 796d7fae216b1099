// C++ globals: namespaces, a class's static member, a member function's static and an anonymous
// namespace.
#include <cstdint>

namespace drive {
namespace loop {
std::int32_t integral;
}
std::uint16_t limit = 5;
struct Gains {
    float kp, ki;
};
Gains gains;
class Pid {
public:
    static std::int16_t instances;
    int Step();
};
std::int16_t Pid::instances = 0;
// A member function's own static, known as "drive::Pid::Step()::steps".
int Pid::Step() {
    static volatile std::uint32_t steps;
    return static_cast<int>(++steps);
}
}  // namespace drive

namespace {
__attribute__((used)) int hidden;
}

int main() {
    drive::Pid pid;
    return drive::loop::integral + drive::Pid::instances + pid.Step();
}

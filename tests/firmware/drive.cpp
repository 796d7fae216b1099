// C++ globals: namespaces, a class's static member and an anonymous namespace.
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
};
std::int16_t Pid::instances = 0;
}  // namespace drive

namespace {
__attribute__((used)) int hidden;
}

int main() { return drive::loop::integral + drive::Pid::instances; }

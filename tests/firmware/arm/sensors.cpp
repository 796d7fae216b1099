// Classes whose descriptions the compiler puts in type units (-fdebug-types-section): an array
// of objects, a derived class, a class's static members and an enum class.
#include <stdint.h>

namespace io {

enum class Unit : uint8_t { Millivolt, Milliamp, Kelvin };

struct Calibration {
    float scale;
    int16_t offset;
};

class Sensor {
public:
    int32_t read();

    uint8_t channel = 0;
    Unit unit = Unit::Millivolt;
    Calibration calibration{1.0f, 0};
    int32_t samples[3] = {};
    bool valid = false;
    static uint16_t created;
};

uint16_t Sensor::created;

int32_t Sensor::read() {
    int32_t value = static_cast<int32_t>(samples[0] * calibration.scale) + calibration.offset;
    valid = value > 0;
    return value;
}

class TemperatureSensor : public Sensor {
public:
    int16_t ambient = 25;
    uint32_t alarms = 0;
};

Sensor sensors[4];
TemperatureSensor board_temperature;

class Bus {
public:
    static Sensor* selected;
    static uint32_t transfers[2];
};

Sensor* Bus::selected = &sensors[2];
uint32_t Bus::transfers[2];

}  // namespace io

int main() {
    ++io::Sensor::created;
    io::Bus::transfers[0] += static_cast<uint32_t>(io::sensors[1].read());
    return io::Bus::selected->read() + io::board_temperature.ambient;
}

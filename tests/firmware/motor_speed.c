/* A second unit that only declares the motors: they must still be listed once. */
#include <stdint.h>

typedef struct {
    int16_t a, b, c;
} PhaseCurrents;

struct Motor {
    uint16_t speed;
    PhaseCurrents current;
    float torque;
};

extern struct Motor motor[3];

__attribute__((used)) static volatile int32_t errorCount;

int motor_speed_sum(void) {
    return motor[0].speed + motor[1].speed + motor[2].speed;
}

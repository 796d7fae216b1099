/* The shapes a motor controller keeps its state in: structs in structs, arrays of them, bit
 * fields, enums, unions and a long sample buffer, in RAM and in flash. */
#include <stdint.h>

uint32_t tick(void);
int32_t filter(int32_t input);

typedef enum { MODE_IDLE, MODE_RUN, MODE_FAULT = 7 } mode_t;

typedef struct {
    int16_t a;
    int16_t b;
    int32_t sum;
} phase_current_t;

typedef struct {
    uint8_t id;
    phase_current_t current;
    float speed;
    mode_t mode;
    struct {
        uint16_t ready : 1;
        uint16_t fault : 3;
        uint16_t level : 12;
    } flags;
    uint32_t history[4];
} motor_t;

typedef union {
    uint32_t word;
    uint8_t bytes[4];
    struct {
        uint16_t low;
        uint16_t high;
    } half;
} register_t;

struct board {
    motor_t motor[2];
    register_t status;
    union {
        int32_t raw;
        float scaled;
    };
    double gain;
};

motor_t motor[3];
struct board board = {.gain = 1.5};
register_t control_register = {.word = 0x12345678u};
mode_t mode = MODE_RUN;
int16_t big_buf[10000];
int8_t matrix[3][5];
uint16_t lookup[2][3][4] = {{{1}}};
const int32_t calibration[4] = {10, 20, 30, 40};
motor_t* selected_motor = &motor[1];
volatile uint32_t tick_count;
char banner[12] = "ondrix";

/* The scope reads these by their addresses while the firmware runs, which no optimiser can see:
 * this table keeps each in memory, written and read, even when main alone would not. */
__attribute__((used)) void* volatile const exported[] = {
    motor, &board, &control_register, &mode, big_buf, matrix, lookup, (void*)calibration, &selected_motor, banner,
};

int main(void) {
    for (int i = 0; i < 10000; ++i) big_buf[i] = (int16_t)(i + calibration[i & 3]);
    motor[mode].current.sum = motor[0].current.a + board.motor[1].current.b;
    matrix[2][4] = (int8_t)lookup[1][2][3];
    tick_count += tick() + (uint32_t)filter(board.raw);
    return selected_motor->flags.level + control_register.half.high + banner[0];
}

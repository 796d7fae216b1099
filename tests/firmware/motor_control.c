/* A small firmware image's globals: one of each shape the symbol reader lays out. */
#include <stdint.h>

typedef struct {
    int16_t a, b, c;
} PhaseCurrents;

struct Motor {
    uint16_t speed;
    PhaseCurrents current;
    float torque;
};

struct Controller {
    struct Motor main;
    struct {
        uint8_t mode;
        int32_t setpoint;
    } loop;
};

union Word {
    uint32_t whole;
    uint8_t bytes[4];
};

struct Flags {
    unsigned ready : 1;
    unsigned mode : 3;
    unsigned count : 12;
    signed offset : 5;
};

enum Mode { Idle, Running };

typedef int16_t Sample;

struct Motor motor[3];
struct Controller controller;
union Word word;
struct Flags flags;
enum Mode mode;
double gain;
volatile Sample sample;
const int32_t limit = 100;
volatile uint16_t *const statusRegister = (volatile uint16_t *)0x40001000u;
uint16_t buffer[1000];
int grid[2][3];
__attribute__((used)) static volatile int16_t fileScopeCounter = 3;
/* Each thread has its own: no fixed address. */
__thread int perThreadErrors;

int motor_speed_sum(void);

/* A static of the same name is in the other unit. */
__attribute__((used)) static volatile int16_t errorCount;

int main(void) {
    /* A function's own static: a fixed address, known as "main::calls". */
    static volatile uint16_t calls;
    int local = fileScopeCounter + ++calls + errorCount;
    return local + motor_speed_sum();
}

#include "drive.h"

#include "signals.h"

/* The motors' model: torque current accelerates the rotor (0.3 rpm/s per mA), friction brakes
 * it in proportion to its speed (a two-second time constant), and the cut loads the spindle. */
#define MOTOR_RPM_PER_S_PER_A 300
#define MOTOR_DAMPING_PER_S_TENTHS 5
#define MOTOR_POLE_PAIRS 2
#define MOTOR_MAX_CURRENT_MA 10000
#define CUTTING_LOAD_RPM_PER_S 1500

#define SPINDLE_TOP_RPM 1500
#define RAMP_RPM_PER_S 1500
#define STOPPED_MS 1000u
#define RUNNING_MS 2500u
#define CUT_START_MS 800u
#define CUT_END_MS 1600u
#define STANDSTILL_RPM 5

#define BUS_FULL_COUNTS 3100
#define BUS_SAG_MA_PER_COUNT 100
#define BUS_NOISE_COUNTS 12
#define CURRENT_NOISE_MA 15

struct motor spindle;
struct motor feed_axes[DRIVE_FEED_AXES];
/* Tuned for a closed loop of about 1 Hz, damped by half: the speed overshoots a ramp's end a
 * little and recovers from the cut in a few hundred milliseconds. */
struct pid spindle_pid = {.kp = 18, .ki = 120};
struct pid feed_pid[DRIVE_FEED_AXES] = {{.kp = 18, .ki = 120}, {.kp = 24, .ki = 160}, {.kp = 12, .ki = 80}};
enum drive_state drive_state = DRIVE_STOPPED;
volatile uint16_t dc_bus_adc = BUS_FULL_COUNTS;

/* Each feed axis turns in step with the spindle, geared: a thread's pitch, a cross feed. */
static const int16_t feed_ratio_percent[DRIVE_FEED_AXES] = {50, -33, 25};

/* What the sensors do not show: speed and angle to more bits than they report. */
struct rotor {
    int32_t speed_q16; /* rpm in units of 1/65536 */
    uint32_t angle_q32;
};
static struct rotor spindle_rotor;
static struct rotor feed_rotors[DRIVE_FEED_AXES];

static uint32_t noise_state = 0x2545F491u;

/* Sensor noise: a cheap generator, uniform in -span..span. */
static int32_t sensor_noise(int32_t span) {
    noise_state ^= noise_state << 13;
    noise_state ^= noise_state >> 17;
    noise_state ^= noise_state << 5;
    return (int32_t)(noise_state % (uint32_t)(2 * span + 1)) - span;
}

static int32_t clamp(int32_t value, int32_t low, int32_t high) {
    return value < low ? low : value > high ? high : value;
}

static void pid_step(struct pid *pid, int16_t setpoint, int16_t measured, uint32_t period_us) {
    const int32_t limit = MOTOR_MAX_CURRENT_MA;
    const int32_t error = clamp((int32_t)setpoint - measured, INT16_MIN, INT16_MAX);
    const int32_t proportional = pid->kp * error;
    const int64_t increment = (int64_t)pid->ki * error * (int64_t)period_us * 65536 / 1000000;
    const int32_t before = (int32_t)(proportional + (pid->integral >> 16));
    /* No winding up while the output is pinned at a limit in the error's direction. */
    if (!((before >= limit && error > 0) || (before <= -limit && error < 0)))
        pid->integral = (int32_t)clamp((int32_t)(pid->integral + increment), -limit * 65536, limit * 65536);
    pid->setpoint = setpoint;
    pid->measured = measured;
    pid->error = (int16_t)error;
    pid->output = (int16_t)clamp(proportional + (pid->integral >> 16), -limit, limit);
}

static void motor_step(struct motor *motor, struct rotor *rotor, int16_t current_ma, int32_t load_rpm_per_s,
                       uint32_t period_us) {
    const int32_t rpm = rotor->speed_q16 / 65536;
    /* The load brakes whichever way the rotor turns, and never turns it round. */
    const int32_t load = rpm > 0 ? load_rpm_per_s : rpm < 0 ? -load_rpm_per_s : 0;
    const int32_t acceleration =
        MOTOR_RPM_PER_S_PER_A * current_ma / 1000 - MOTOR_DAMPING_PER_S_TENTHS * rpm / 10 - load;
    rotor->speed_q16 += (int32_t)((int64_t)acceleration * (int64_t)period_us * 65536 / 1000000);
    /* Electrical turns per second: rpm / 60 times the pole pairs. */
    rotor->angle_q32 += (uint32_t)(((int64_t)rotor->speed_q16 * MOTOR_POLE_PAIRS * (int64_t)period_us * 65536) /
                                   (60 * (int64_t)1000000));

    /* The torque current flows as three sines 120 degrees apart, in step with the rotor. */
    const uint32_t step = (uint32_t)(((uint64_t)rotor->angle_q32 * SIGNAL_SINE_STEPS) >> 32);
    const int32_t a = current_ma * sine_at(step) / SIGNAL_SINE_AMPLITUDE;
    const int32_t b = current_ma * sine_at((step + 2u * SIGNAL_SINE_STEPS / 3u) % SIGNAL_SINE_STEPS) /
                      SIGNAL_SINE_AMPLITUDE;
    motor->current_a = (int16_t)(a + sensor_noise(CURRENT_NOISE_MA));
    motor->current_b = (int16_t)(b + sensor_noise(CURRENT_NOISE_MA));
    motor->current_c = (int16_t)(-a - b + sensor_noise(CURRENT_NOISE_MA));
    motor->speed = (int16_t)(rotor->speed_q16 / 65536);
    motor->angle = (uint16_t)(rotor->angle_q32 >> 16);
}

static uint32_t periods(uint32_t ms, uint32_t period_us) { return ms * 1000u / period_us; }

/* One ramp step of the set point towards `target`. */
static int16_t ramp(int16_t from, int16_t target, uint32_t period_us, int32_t *remainder_q16) {
    *remainder_q16 += (int32_t)((int64_t)RAMP_RPM_PER_S * (int64_t)period_us * 65536 / 1000000);
    const int32_t whole = *remainder_q16 / 65536;
    *remainder_q16 -= whole * 65536;
    if (from < target) return (int16_t)(from + whole < target ? from + whole : target);
    return (int16_t)(from - whole > target ? from - whole : target);
}

void drive_step(uint32_t period_us) {
    /* The drive's time base: periods since reset, 16 bits as the state machine needs them. */
    static uint16_t ticks;
    static uint16_t entered;
    static int16_t setpoint;
    static int16_t direction = 1;
    static int32_t ramp_remainder;

    const uint16_t in_state = (uint16_t)(ticks - entered);
    int32_t load = 0;
    enum drive_state next = drive_state;
    switch (drive_state) {
    case DRIVE_STOPPED:
        if (in_state >= periods(STOPPED_MS, period_us)) next = DRIVE_STARTING;
        break;
    case DRIVE_STARTING:
        setpoint = ramp(setpoint, (int16_t)(direction * SPINDLE_TOP_RPM), period_us, &ramp_remainder);
        if (setpoint == direction * SPINDLE_TOP_RPM) next = DRIVE_RUNNING;
        break;
    case DRIVE_RUNNING:
        if (in_state >= periods(CUT_START_MS, period_us) && in_state < periods(CUT_END_MS, period_us))
            load = CUTTING_LOAD_RPM_PER_S;
        if (in_state >= periods(RUNNING_MS, period_us)) next = DRIVE_STOPPING;
        break;
    case DRIVE_STOPPING:
        setpoint = ramp(setpoint, 0, period_us, &ramp_remainder);
        if (setpoint == 0 && spindle.speed > -STANDSTILL_RPM && spindle.speed < STANDSTILL_RPM) {
            next = DRIVE_STOPPED;
            direction = (int16_t)-direction;
        }
        break;
    }
    if (next != drive_state) {
        drive_state = next;
        entered = ticks;
        ramp_remainder = 0;
    }

    pid_step(&spindle_pid, setpoint, spindle.speed, period_us);
    /* Stopped means the bridge is off: no current, whatever the loop would ask. */
    const int16_t spindle_current = drive_state == DRIVE_STOPPED ? 0 : spindle_pid.output;
    if (drive_state == DRIVE_STOPPED) spindle_pid.integral = 0;
    motor_step(&spindle, &spindle_rotor, spindle_current, load, period_us);
    int32_t drawn = spindle_current < 0 ? -spindle_current : spindle_current;

    for (unsigned i = 0; i < DRIVE_FEED_AXES; ++i) {
        const int16_t geared = (int16_t)(setpoint * feed_ratio_percent[i] / 100);
        pid_step(&feed_pid[i], geared, feed_axes[i].speed, period_us);
        const int16_t current = drive_state == DRIVE_STOPPED ? 0 : feed_pid[i].output;
        if (drive_state == DRIVE_STOPPED) feed_pid[i].integral = 0;
        motor_step(&feed_axes[i], &feed_rotors[i], current, 0, period_us);
        drawn += current < 0 ? -current : current;
    }

    dc_bus_adc = (uint16_t)(BUS_FULL_COUNTS - drawn / BUS_SAG_MA_PER_COUNT + sensor_noise(BUS_NOISE_COUNTS));
    ++ticks;
}

/* The demo application: a spindle and three feed axes, each a permanent-magnet motor under a PI
 * speed loop, run by a start-run-stop cycle that reverses every time round, with a cutting load
 * in the middle of each run. One step per monitoring period, so that the scope sees every
 * step. */
#ifndef DRIVE_H
#define DRIVE_H

#include <stdint.h>

/* What a motor's current sensors and its speed measurement give. */
struct motor {
    int16_t current_a; /* phase currents, mA */
    int16_t current_b;
    int16_t current_c;
    int16_t speed;  /* rpm, signed */
    uint16_t angle; /* rotor's electrical angle; 65536 is a full turn */
};

/* A PI speed controller (the derivative term is left out, as usual for a speed loop). */
struct pid {
    int16_t setpoint; /* rpm */
    int16_t measured; /* rpm */
    int16_t error;    /* rpm */
    int16_t output;   /* torque current asked for, mA */
    int32_t integral; /* the integral term, mA in units of 1/65536 */
    int16_t kp;       /* mA per rpm */
    int16_t ki;       /* mA per rpm and second */
};

enum drive_state {
    DRIVE_STOPPED,  /* current off, waiting for the next start */
    DRIVE_STARTING, /* the speed set point ramps up */
    DRIVE_RUNNING,  /* at speed; a cutting load comes and goes */
    DRIVE_STOPPING, /* the set point ramps down to standstill */
};

#define DRIVE_FEED_AXES 3u

extern struct motor spindle;
extern struct motor feed_axes[DRIVE_FEED_AXES];
extern struct pid spindle_pid;
extern struct pid feed_pid[DRIVE_FEED_AXES];
extern enum drive_state drive_state;
/* The DC bus voltage as the 12-bit ADC reads it, noise and all: 3100 at 48 V, sagging under
 * load. */
extern volatile uint16_t dc_bus_adc;

/* One control step of `period_us` microseconds. */
void drive_step(uint32_t period_us);

#endif /* DRIVE_H */

/* The MPU side of the scope's serial protocol, as a module a firmware adds to its build: two
 * files, C99, no heap, nothing of the C library beyond <stdint.h> and <stddef.h>.
 *
 * What the firmware does:
 *   - once at start-up, ondrix_mpu_init() with the calls that reach its UART;
 *   - in its UART receive interrupt, ondrix_mpu_receive() with each byte received;
 *   - once every monitoring period T (a timer interrupt, SysTick on a Cortex-M),
 *     ondrix_mpu_monitor(): it samples the four watched words and starts a 10-byte frame;
 *   - in its UART transmit-ready interrupt, ondrix_mpu_transmit(): it puts the next byte of the
 *     frame, and turns the interrupt off after the last one.
 *
 * The wire: the scope sends one 18-byte request, four channel addresses (32 bits each, least
 * significant byte first) and their CRC16 (low byte first); the MPU answers every period with
 * the four 16-bit words at those addresses (low byte first) and their CRC16. A request whose
 * CRC does not match is ignored and the previous addresses stay. A request cut short is dropped
 * after 500 periods without a byte, so the next one starts clean.
 *
 * Interrupts: ondrix_mpu_receive() and ondrix_mpu_transmit() may run in the UART's interrupt
 * and ondrix_mpu_monitor() in the timer's. If the two interrupts can preempt one another, give
 * them one priority (as the reference routines assume): the module takes no locks.
 */
#ifndef ONDRIX_MPU_H
#define ONDRIX_MPU_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define ONDRIX_MPU_REQUEST_SIZE 18u
#define ONDRIX_MPU_FRAME_SIZE 10u
#define ONDRIX_MPU_CHANNELS 4u
/* Periods without a received byte after which a request cut short is dropped. */
#define ONDRIX_MPU_SILENCE_PERIODS 500u

/* A span of addresses the scope may read, first to last byte inclusive. */
typedef struct {
    uint32_t first;
    uint32_t last;
} ondrix_mpu_range;

typedef struct {
    /* Writes one byte to the UART's transmit data register. Required. */
    void (*put_byte)(void *context, uint8_t byte);
    /* Turns the UART's transmit-ready interrupt on (1) or off (0). Required. */
    void (*transmit_interrupt)(void *context, int enable);
    /* Reads the 16-bit word at `address`. NULL: read the MPU's own memory there, as
     * *(volatile uint16_t *)address. A host test or a firmware with its own access rules gives
     * its own; so does one whose core faults on a halfword read at an odd address (Cortex-M0
     * and M0+), since the scope may ask for any address. */
    uint16_t (*read_word)(void *context, uint32_t address);
    /* Passed to the calls above. */
    void *context;
    /* Where the scope may read; NULL (or a count of 0) for anywhere. A channel's word is read
     * only when both its bytes lie in one range; otherwise it is sent as 0 and never touched
     * (list memory that runs on across a border as one range). Why a firmware wants this: the
     * addresses come from the line, and reading an address where no memory is raises a bus
     * fault (the MPU stops); reading some peripheral registers changes them (a status flag or
     * a receive FIFO cleared by the read). Listing RAM and flash keeps a mistyped address
     * from doing either. The array is not copied: keep it for as long as the module runs (a
     * const table). */
    const ondrix_mpu_range *readable;
    size_t readable_count;
} ondrix_mpu_config;

/* The module's state: one per UART that serves a scope. Read it only through the calls below. */
typedef struct {
    ondrix_mpu_config config;
    uint8_t rx_buf[ONDRIX_MPU_REQUEST_SIZE];
    uint8_t rx_count;
    uint16_t rx_silence;
    uint8_t tx_buf[ONDRIX_MPU_FRAME_SIZE];
    uint8_t tx_count;
    uint32_t address[ONDRIX_MPU_CHANNELS];
} ondrix_mpu;

/* The protocol's CRC16 over `length` bytes: polynomial 0x8005 taken least significant bit
 * first (0xA001), start 0xFFFF, no final XOR. */
uint16_t ondrix_mpu_crc16(const uint8_t *data, size_t length);

/* Takes the config (copied; given NULL, the module calls nothing); all four addresses start
 * at 0 and nothing is sent until the first period. Calling it again starts over. */
void ondrix_mpu_init(ondrix_mpu *mpu, const ondrix_mpu_config *config);
/* One byte received from the scope. */
void ondrix_mpu_receive(ondrix_mpu *mpu, uint8_t byte);
/* Once every monitoring period: silence count, sampling, start of a frame. A frame still being
 * sent when the next period comes (a period shorter than ten bytes on the line) is cut short:
 * the new one starts, and the scope skips the broken one by its CRC. */
void ondrix_mpu_monitor(ondrix_mpu *mpu);
/* The UART can take another byte. Called after the last byte (or before the first frame), it
 * sends nothing and turns the interrupt off. */
void ondrix_mpu_transmit(ondrix_mpu *mpu);
/* The address channel `channel` (0-3) watches; 0 for any other channel. */
uint32_t ondrix_mpu_address(const ondrix_mpu *mpu, unsigned channel);

#ifdef __cplusplus
}
#endif

#endif /* ONDRIX_MPU_H */

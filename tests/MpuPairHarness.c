/* Runs the reference routines of the protocol description window (mpu_reference.c, cut from
 * the window's text) and the MPU module (mpu/ondrix_mpu.c) side by side through the same
 * hardware events, and prints what each of them did, so that a test can hold the two to the
 * same behaviour on the line.
 *
 * Both read one memory: a page mapped at 0x20000000, so that the addresses of a request are
 * real addresses here as on the MPU. The module reads it as a firmware that gives no read_word
 * does, by a volatile halfword read at the address; given the argument "ranges" it reads
 * through a read_word of its own instead, with the page as its one readable range.
 *
 * The reference's UART is its two register placeholders: a received byte is put into Rx.data
 * before voRxIsr runs, and Tx.Register, wider here than a byte, holds a value no byte has
 * before each routine that may send, so that a byte sent is told from none. Its transmit
 * interrupt is on from the end of voMonitor until voTxIsr reaches the line that turns it off.
 * The module's UART is its two calls. A side's transmit interrupt runs only while that side
 * has it on, as the UART raises it.
 *
 * Commands on standard input, blank-separated:
 *   w ADDR VALUE  store the 16-bit VALUE (hex) little-endian at ADDR (hex)
 *   r BYTE        receive one byte (hex)
 *   m             the monitoring routine alone
 *   t N           N chances for the transmit interrupt
 *   p N           N whole periods: the monitoring routine, then the transmit interrupt for as
 *                 long as it stays on
 * Every command but w prints a line (p one per period): the command, then for the reference
 * and then for the module, each after a tab, the bytes it sent (hex) and whether its transmit
 * interrupt is on (+) or off (-); for r, the four addresses it watches instead.
 * Exit status: 0 done, 2 bad command or memory, 4 a period was to come while a side watched an
 * address outside the page (reading there would fault; before any request both watch 0). */
#define _DEFAULT_SOURCE
#include <stdio.h>
#include <string.h>
#include <sys/mman.h>

static struct { unsigned char data; } Rx;
static struct { unsigned int Register; } Tx;

#include "mpu_reference.c"

#include "ondrix_mpu.h"

#define MEMORY_BASE 0x20000000UL
#define MEMORY_SIZE 4096UL
#define NOTHING_SENT 0x100u
/* Chances a period gives the transmit interrupt: more than a frame needs, so that an interrupt
 * left on shows. */
#define MOST_INTERRUPTS 20

static unsigned char *memory;
static int reference_interrupt_on;
static ondrix_mpu module;
static int module_interrupt_on;

static void module_put_byte(void *context, uint8_t byte)
{
    (void)context;
    printf("%02x", byte);
}

static void module_transmit_interrupt(void *context, int enable)
{
    (void)context;
    module_interrupt_on = enable;
}

static uint16_t module_read_word(void *context, uint32_t address)
{
    (void)context;
    return (uint16_t)(memory[address - MEMORY_BASE] | memory[address - MEMORY_BASE + 1] << 8);
}

static int in_memory(unsigned long address)
{
    return address >= MEMORY_BASE && address + 1 < MEMORY_BASE + MEMORY_SIZE;
}

static void reference_sent(void)
{
    if (Tx.Register != NOTHING_SENT) printf("%02x", Tx.Register);
    Tx.Register = NOTHING_SENT;
}

static void reference_monitor(void)
{
    voMonitor();
    reference_sent();
    reference_interrupt_on = 1;
}

static void reference_transmit(void)
{
    voTxIsr();
    reference_sent();
    if (TxCnt >= 10) reference_interrupt_on = 0;
}

static void interrupt_state(int on)
{
    printf(" %c", on ? '+' : '-');
}

/* The reference's part of a line, then the module's. */
static void period(unsigned long chances, int monitor)
{
    unsigned long i;

    putchar('\t');
    if (monitor) reference_monitor();
    for (i = 0; i < chances && reference_interrupt_on; i++) reference_transmit();
    interrupt_state(reference_interrupt_on);
    putchar('\t');
    if (monitor) ondrix_mpu_monitor(&module);
    for (i = 0; i < chances && module_interrupt_on; i++) ondrix_mpu_transmit(&module);
    interrupt_state(module_interrupt_on);
    putchar('\n');
}

static void receive(unsigned char byte)
{
    unsigned channel;

    Rx.data = byte;
    voRxIsr();
    ondrix_mpu_receive(&module, byte);
    printf("\t%08lx %08lx %08lx %08lx\t", pAddr1, pAddr2, pAddr3, pAddr4);
    for (channel = 0; channel < 4; channel++)
        printf("%s%08lx", channel ? " " : "", (unsigned long)ondrix_mpu_address(&module, channel));
    putchar('\n');
}

/* Whether every address either side watches is in the page, so that a period may read. */
static int watching_memory(void)
{
    unsigned channel;
    int inside = in_memory(pAddr1) && in_memory(pAddr2) && in_memory(pAddr3) && in_memory(pAddr4);

    for (channel = 0; channel < 4; channel++)
        inside = inside && in_memory(ondrix_mpu_address(&module, channel));
    return inside;
}

int main(int argc, char **argv)
{
    static const ondrix_mpu_range page = {MEMORY_BASE, MEMORY_BASE + MEMORY_SIZE - 1};
    ondrix_mpu_config config;
    char command;

    memory = mmap((void *)MEMORY_BASE, MEMORY_SIZE, PROT_READ | PROT_WRITE,
                  MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
    if (memory != (unsigned char *)MEMORY_BASE) {
        fprintf(stderr, "cannot map the MPU's memory at 0x%lx\n", MEMORY_BASE);
        return 2;
    }
    memset(&config, 0, sizeof config);
    config.put_byte = module_put_byte;
    config.transmit_interrupt = module_transmit_interrupt;
    if (argc > 1 && strcmp(argv[1], "ranges") == 0) {
        config.read_word = module_read_word;
        config.readable = &page;
        config.readable_count = 1;
    }
    ondrix_mpu_init(&module, &config);
    Tx.Register = NOTHING_SENT;

    while (scanf(" %c", &command) == 1) {
        unsigned long address, count, i;
        unsigned int value;

        if (command == 'w') {
            if (scanf("%lx %x", &address, &value) != 2 || !in_memory(address)) return 2;
            memory[address - MEMORY_BASE] = (unsigned char)value;
            memory[address - MEMORY_BASE + 1] = (unsigned char)(value >> 8);
        } else if (command == 'r') {
            if (scanf("%x", &value) != 1) return 2;
            printf("r %02x", value);
            receive((unsigned char)value);
        } else if (command == 'm') {
            if (!watching_memory()) return 4;
            printf("m");
            period(0, 1);
        } else if (command == 't') {
            if (scanf("%lu", &count) != 1) return 2;
            printf("t %lu", count);
            period(count, 0);
        } else if (command == 'p') {
            if (scanf("%lu", &count) != 1) return 2;
            for (i = 0; i < count; i++) {
                if (!watching_memory()) return 4;
                printf("p %lu/%lu", i + 1, count);
                period(MOST_INTERRUPTS, 1);
            }
        } else {
            return 2;
        }
    }
    return fflush(stdout) == 0 ? 0 : 2;
}

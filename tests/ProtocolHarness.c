/* Stands in for an MPU's hardware around the reference routines of the protocol description
 * window, so that those routines run on this machine as written. The test compiles this file
 * with the routines (mpu_reference.c, cut from the window's text) beside it.
 *
 * The MPU's memory is one page mapped at 0x20000000, so the 32-bit addresses of a request are
 * real addresses here as on the MPU. The UART is the two register placeholders: a received
 * byte is put into Rx.data before voRxIsr runs, and Tx.Register is read after each routine
 * that sends. The transmit interrupt is raised until TxCnt says the frame is out.
 *
 * Commands on standard input, blank-separated:
 *   w ADDR VALUE  store the 16-bit VALUE (hex) little-endian at ADDR (hex)
 *   r BYTE        receive one byte (hex)
 *   m N           N monitoring periods; each prints its frame as hex on one line
 * Exit status: 0 done, 2 bad command or address, 3 a frame was not sent as prescribed. */
#define _DEFAULT_SOURCE
#include <stdio.h>
#include <sys/mman.h>

static struct { unsigned char data; } Rx;
static struct { unsigned char Register; } Tx;

#include "mpu_reference.c"

#define MEMORY_BASE 0x20000000UL
#define MEMORY_SIZE 4096UL

static int SendFrame(void)
{
    int calls;
    unsigned char marker;

    voMonitor();
    printf("%02x", Tx.Register);
    for (calls = 0; calls < 9 && TxCnt < 10; calls++)
    {
        voTxIsr();
        printf("%02x", Tx.Register);
    }
    putchar('\n');
    if (calls != 9 || TxCnt != 10) return 0;
    /* Once the frame is out, a further interrupt must send nothing. */
    marker = (unsigned char)~Tx.Register;
    Tx.Register = marker;
    voTxIsr();
    return Tx.Register == marker && TxCnt == 10;
}

int main(void)
{
    unsigned char *memory;
    char command;

    memory = mmap((void *)MEMORY_BASE, MEMORY_SIZE, PROT_READ | PROT_WRITE,
                  MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
    if (memory != (unsigned char *)MEMORY_BASE)
    {
        fprintf(stderr, "cannot map the MPU's memory at 0x%lx\n", MEMORY_BASE);
        return 2;
    }
    while (scanf(" %c", &command) == 1)
    {
        unsigned long address, periods;
        unsigned int value;

        if (command == 'w')
        {
            if (scanf("%lx %x", &address, &value) != 2 || address < MEMORY_BASE ||
                address + 1 >= MEMORY_BASE + MEMORY_SIZE)
                return 2;
            memory[address - MEMORY_BASE] = (unsigned char)value;
            memory[address - MEMORY_BASE + 1] = (unsigned char)(value >> 8);
        }
        else if (command == 'r')
        {
            if (scanf("%x", &value) != 1) return 2;
            Rx.data = (unsigned char)value;
            voRxIsr();
        }
        else if (command == 'm')
        {
            if (scanf("%lu", &periods) != 1) return 2;
            while (periods-- > 0)
                if (!SendFrame()) return 3;
        }
        else
            return 2;
    }
    return fflush(stdout) == 0 ? 0 : 2;
}

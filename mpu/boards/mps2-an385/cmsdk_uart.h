/* The board's UART (the APB UART of the Cortex-M System Design Kit): 8N1, one byte each way
 * buffered, a receive and a transmit interrupt of its own. */
#ifndef CMSDK_UART_H
#define CMSDK_UART_H

#include <stdint.h>

typedef struct {
    volatile uint32_t data;      /* write: the byte to send; read: the byte received */
    volatile uint32_t state;     /* CMSDK_UART_STATE_* */
    volatile uint32_t ctrl;      /* CMSDK_UART_CTRL_* */
    volatile uint32_t interrupt; /* read: which interrupts are raised; write 1s: clear them */
    volatile uint32_t bauddiv;   /* clock cycles per bit, at least 16 */
} cmsdk_uart_registers;

#define CMSDK_UART_STATE_TX_FULL 0x1u
#define CMSDK_UART_STATE_RX_FULL 0x2u
#define CMSDK_UART_STATE_TX_OVERRUN 0x4u
#define CMSDK_UART_STATE_RX_OVERRUN 0x8u

#define CMSDK_UART_CTRL_TX_ENABLE 0x1u
#define CMSDK_UART_CTRL_RX_ENABLE 0x2u
#define CMSDK_UART_CTRL_TX_INTERRUPT 0x4u
#define CMSDK_UART_CTRL_RX_INTERRUPT 0x8u

#define CMSDK_UART_INTERRUPT_TX 0x1u
#define CMSDK_UART_INTERRUPT_RX 0x2u

typedef struct {
    cmsdk_uart_registers *registers;
    /* The NVIC's numbers for the UART's two interrupts. */
    uint32_t rx_irq;
    uint32_t tx_irq;
} cmsdk_uart;

/* Both directions on at `baud`, the receive interrupt on, the transmit interrupt off; both
 * interrupts enabled in the NVIC at `priority`. */
void cmsdk_uart_init(const cmsdk_uart *uart, uint32_t clock_hz, uint32_t baud, uint8_t priority);

/* Puts a byte into the transmit buffer; a byte still waiting there is replaced. */
void cmsdk_uart_put(const cmsdk_uart *uart, uint8_t byte);

/* Turns the transmit interrupt on or off, as a "ready for the next byte" interrupt: see
 * cmsdk_uart.c for what that takes on this UART. */
void cmsdk_uart_transmit_interrupt(const cmsdk_uart *uart, int enable);

/* For the receive interrupt's handler: acknowledges it, and hands each waiting byte to
 * `take`. */
void cmsdk_uart_receive_interrupt(const cmsdk_uart *uart, void (*take)(uint8_t byte));

/* For the transmit interrupt's handler: acknowledges it and says whether the buffer can take a
 * byte (a spurious interrupt finds it still full). */
int cmsdk_uart_transmit_ready(const cmsdk_uart *uart);

#endif /* CMSDK_UART_H */

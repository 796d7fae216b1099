#include "cmsdk_uart.h"

#include "board.h"

void cmsdk_uart_init(const cmsdk_uart *uart, uint32_t clock_hz, uint32_t baud, uint8_t priority) {
    cmsdk_uart_registers *const r = uart->registers;
    r->ctrl = 0u;
    r->bauddiv = clock_hz / baud;
    r->interrupt = CMSDK_UART_INTERRUPT_TX | CMSDK_UART_INTERRUPT_RX;
    r->state = CMSDK_UART_STATE_TX_OVERRUN | CMSDK_UART_STATE_RX_OVERRUN;
    NVIC_IPR_BYTE(uart->rx_irq) = priority;
    NVIC_IPR_BYTE(uart->tx_irq) = priority;
    NVIC_ICPR0 = (1u << uart->rx_irq) | (1u << uart->tx_irq);
    NVIC_ISER0 = (1u << uart->rx_irq) | (1u << uart->tx_irq);
    r->ctrl = CMSDK_UART_CTRL_TX_ENABLE | CMSDK_UART_CTRL_RX_ENABLE | CMSDK_UART_CTRL_RX_INTERRUPT;
}

void cmsdk_uart_put(const cmsdk_uart *uart, uint8_t byte) { uart->registers->data = byte; }

/* This UART raises its transmit interrupt when a byte leaves the buffer, not while the buffer
 * is empty: turned on after the byte before has gone, it would never come, and the frame would
 * stop there. That happens whenever the line is faster than the code between writing a byte and
 * turning the interrupt on: on the emulated board, where a byte leaves as it is written, every
 * time. So an empty buffer at the moment the interrupt goes on raises it by hand. The interrupt
 * goes on first, so that a byte leaving in between raises it the usual way. */
void cmsdk_uart_transmit_interrupt(const cmsdk_uart *uart, int enable) {
    cmsdk_uart_registers *const r = uart->registers;
    if (enable) {
        r->ctrl |= CMSDK_UART_CTRL_TX_INTERRUPT;
        if ((r->state & CMSDK_UART_STATE_TX_FULL) == 0u) NVIC_ISPR0 = 1u << uart->tx_irq;
    } else {
        r->ctrl &= ~CMSDK_UART_CTRL_TX_INTERRUPT;
        /* The last byte's own interrupt, raised as it went, would otherwise come once more. */
        r->interrupt = CMSDK_UART_INTERRUPT_TX;
        NVIC_ICPR0 = 1u << uart->tx_irq;
    }
}

void cmsdk_uart_receive_interrupt(const cmsdk_uart *uart, void (*take)(uint8_t byte)) {
    cmsdk_uart_registers *const r = uart->registers;
    /* Acknowledged before the data is read: a byte arriving after the read raises it anew. */
    r->interrupt = CMSDK_UART_INTERRUPT_RX;
    while ((r->state & CMSDK_UART_STATE_RX_FULL) != 0u) take((uint8_t)r->data);
    /* A byte lost to an overrun leaves a request that fails its CRC, which is all the scope's
     * module needs to know; the flag would only stay set. */
    r->state = CMSDK_UART_STATE_RX_OVERRUN;
}

int cmsdk_uart_transmit_ready(const cmsdk_uart *uart) {
    cmsdk_uart_registers *const r = uart->registers;
    /* Acknowledged before the next byte is written, whose leaving raises it again. */
    r->interrupt = CMSDK_UART_INTERRUPT_TX;
    /* A frame cut short by the next period (see ondrix_mpu_monitor) overran the buffer. */
    r->state = CMSDK_UART_STATE_TX_OVERRUN;
    return (r->state & CMSDK_UART_STATE_TX_FULL) == 0u;
}

/* The MPU side of the scope's serial protocol: see ondrix_mpu.h for how a firmware wires it in.
 *
 * The routines follow the reference code of the scope's Help window ("Communication Protocol")
 * step for step, so that what an MPU programmer reads there is what this module does; the one
 * addition is the readable ranges. Every call runs in bounded time (the CRC over at most 16
 * bytes, the range list once per channel), nothing recurses and nothing is allocated. */
#include "ondrix_mpu.h"

#define ONDRIX_MPU_CRC_START 0xFFFFu
/* 0x8005 bit-reversed: the CRC is computed least significant bit first. */
#define ONDRIX_MPU_CRC_POLYNOMIAL 0xA001u
/* Request bytes the CRC covers: the four addresses. */
#define ONDRIX_MPU_REQUEST_PAYLOAD 16u
/* Frame bytes the CRC covers: the four words. */
#define ONDRIX_MPU_FRAME_PAYLOAD 8u

uint16_t ondrix_mpu_crc16(const uint8_t *data, size_t length)
{
    uint16_t crc = (uint16_t)ONDRIX_MPU_CRC_START;
    size_t i;
    uint8_t bit;

    for (i = 0u; i < length; i++) {
        crc = (uint16_t)(crc ^ (uint16_t)data[i]);
        for (bit = 0u; bit < 8u; bit++) {
            if ((crc & 0x0001u) != 0u) {
                crc = (uint16_t)((uint16_t)(crc >> 1) ^ (uint16_t)ONDRIX_MPU_CRC_POLYNOMIAL);
            } else {
                crc = (uint16_t)(crc >> 1);
            }
        }
    }
    return crc;
}

static uint32_t little_endian32(const uint8_t *bytes)
{
    return (uint32_t)bytes[0] | ((uint32_t)bytes[1] << 8) | ((uint32_t)bytes[2] << 16) |
           ((uint32_t)bytes[3] << 24);
}

/* A word is read only when both of its bytes lie in one listed range: two adjacent ranges do
 * not make a word across their border readable, since the border is often where one memory
 * ends and the next device begins. */
static int word_readable(const ondrix_mpu_config *config, uint32_t address)
{
    int readable = 0;
    size_t i;

    if ((config->readable == NULL) || (config->readable_count == 0u)) {
        readable = 1;
    } else {
        for (i = 0u; (i < config->readable_count) && (readable == 0); i++) {
            /* address < last keeps address + 1 within the range, and cannot wrap: a word at
             * 0xFFFFFFFF, whose second byte does not exist, is never inside. */
            if ((address >= config->readable[i].first) && (address < config->readable[i].last)) {
                readable = 1;
            }
        }
    }
    return readable;
}

static uint16_t read_channel(const ondrix_mpu *mpu, uint32_t address)
{
    uint16_t word = 0u;

    if (word_readable(&mpu->config, address) != 0) {
        if (mpu->config.read_word != NULL) {
            word = mpu->config.read_word(mpu->config.context, address);
        } else {
            /* The address names the MPU's own memory, as in the reference routines: the one
             * place where an integer has to become a pointer. */
            word = *(const volatile uint16_t *)(uintptr_t)address;
        }
    }
    return word;
}

static void put_byte(const ondrix_mpu *mpu, uint8_t byte)
{
    if (mpu->config.put_byte != NULL) {
        mpu->config.put_byte(mpu->config.context, byte);
    }
}

static void transmit_interrupt(const ondrix_mpu *mpu, int enable)
{
    if (mpu->config.transmit_interrupt != NULL) {
        mpu->config.transmit_interrupt(mpu->config.context, enable);
    }
}

void ondrix_mpu_init(ondrix_mpu *mpu, const ondrix_mpu_config *config)
{
    size_t i;

    if (config != NULL) {
        mpu->config = *config;
    } else {
        mpu->config.put_byte = NULL;
        mpu->config.transmit_interrupt = NULL;
        mpu->config.read_word = NULL;
        mpu->config.context = NULL;
        mpu->config.readable = NULL;
        mpu->config.readable_count = 0u;
    }
    for (i = 0u; i < ONDRIX_MPU_REQUEST_SIZE; i++) {
        mpu->rx_buf[i] = 0u;
    }
    for (i = 0u; i < ONDRIX_MPU_FRAME_SIZE; i++) {
        mpu->tx_buf[i] = 0u;
    }
    for (i = 0u; i < ONDRIX_MPU_CHANNELS; i++) {
        mpu->address[i] = 0u;
    }
    mpu->rx_count = 0u;
    mpu->rx_silence = 0u;
    /* Nothing to send until the first period: a transmit interrupt before it sends nothing
     * (the reference starts at 0 and would send a zero byte, had its interrupt been on). */
    mpu->tx_count = (uint8_t)ONDRIX_MPU_FRAME_SIZE;
}

void ondrix_mpu_receive(ondrix_mpu *mpu, uint8_t byte)
{
    uint16_t received_crc;
    size_t channel;

    /* Only a write to the state from outside this module can leave rx_count this high; start
     * the request over rather than write past rx_buf. */
    if (mpu->rx_count >= ONDRIX_MPU_REQUEST_SIZE) {
        mpu->rx_count = 0u;
    }
    mpu->rx_buf[mpu->rx_count] = byte;
    mpu->rx_count = (uint8_t)(mpu->rx_count + 1u);
    mpu->rx_silence = 0u;
    if (mpu->rx_count >= ONDRIX_MPU_REQUEST_SIZE) {
        received_crc = (uint16_t)(((uint16_t)mpu->rx_buf[17] << 8) | (uint16_t)mpu->rx_buf[16]);
        /* A request that fails the CRC is dropped whole: the previous addresses stay. */
        if (ondrix_mpu_crc16(mpu->rx_buf, ONDRIX_MPU_REQUEST_PAYLOAD) == received_crc) {
            for (channel = 0u; channel < ONDRIX_MPU_CHANNELS; channel++) {
                mpu->address[channel] = little_endian32(&mpu->rx_buf[4u * channel]);
            }
        }
        mpu->rx_count = 0u;
    }
}

/* A frame still being sent when the next period comes is cut short and the new one starts, as
 * the reference routines do, so that a firmware built on either behaves alike on the line. The
 * period is meant to leave room for the ten bytes (the Help text asks for it); where it does
 * not, the scope drops the broken frame by its CRC and finds the new one. */
void ondrix_mpu_monitor(ondrix_mpu *mpu)
{
    uint16_t word;
    uint16_t crc;
    size_t channel;

    mpu->rx_silence = (uint16_t)(mpu->rx_silence + 1u);
    if (mpu->rx_silence >= ONDRIX_MPU_SILENCE_PERIODS) {
        mpu->rx_count = 0u;
        mpu->rx_silence = 0u;
    }
    for (channel = 0u; channel < ONDRIX_MPU_CHANNELS; channel++) {
        word = read_channel(mpu, mpu->address[channel]);
        mpu->tx_buf[2u * channel] = (uint8_t)(word & 0x00FFu);
        mpu->tx_buf[(2u * channel) + 1u] = (uint8_t)(word >> 8);
    }
    crc = ondrix_mpu_crc16(mpu->tx_buf, ONDRIX_MPU_FRAME_PAYLOAD);
    mpu->tx_buf[8] = (uint8_t)(crc & 0x00FFu);
    mpu->tx_buf[9] = (uint8_t)(crc >> 8);

    /* The count before the byte: the interrupt may still be on from a frame cut short, and if
     * it comes as soon as the byte is written it must find the new frame under way. */
    mpu->tx_count = 1u;
    put_byte(mpu, mpu->tx_buf[0]);
    transmit_interrupt(mpu, 1);
}

void ondrix_mpu_transmit(ondrix_mpu *mpu)
{
    uint8_t next;

    if (mpu->tx_count < ONDRIX_MPU_FRAME_SIZE) {
        next = mpu->tx_count;
        mpu->tx_count = (uint8_t)(next + 1u);
        put_byte(mpu, mpu->tx_buf[next]);
    }
    /* Off with the last byte, not an interrupt later: the transmit-ready interrupt would
     * otherwise keep firing with nothing to send. */
    if (mpu->tx_count >= ONDRIX_MPU_FRAME_SIZE) {
        transmit_interrupt(mpu, 0);
    }
}

uint32_t ondrix_mpu_address(const ondrix_mpu *mpu, unsigned channel)
{
    uint32_t address = 0u;

    if (channel < ONDRIX_MPU_CHANNELS) {
        address = mpu->address[channel];
    }
    return address;
}

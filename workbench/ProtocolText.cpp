#include "workbench/ProtocolText.h"

namespace ondrix {

namespace {

// Kept verbatim as the window shows it; tests/ProtocolCodeTest.cpp compiles its C sections.
constexpr std::string_view kText = R"PROTOCOL(Data send adapt CRC16 verification,The following is the function of CRC16,please refer
//-------------------------------------------------------------------------------------------
unsigned short CRC_CHECK(unsigned char *Buf, unsigned char CRC_CNT)
{
    unsigned short CRC_Temp;
    unsigned char i, j;

    CRC_Temp = 0xffff;
    for (i = 0; i < CRC_CNT; i++)
    {
        CRC_Temp ^= Buf[i];
        for (j = 0; j < 8; j++)
        {
            if (CRC_Temp & 0x01)
                CRC_Temp = (CRC_Temp >> 1) ^ 0xa001;
            else
                CRC_Temp = CRC_Temp >> 1;
        }
    }
    return CRC_Temp;
}
//-------------------------------------------------------------------------------------------
The data from computer to MPU is like this:
Ch1_Addr_LL，Ch1_Addr_LH，
Ch1_Addr_HL，Ch1_Addr_HH，
Ch2_Addr_LL，Ch2_Addr_LH，
Ch2_Addr_HL，Ch2_Addr_HH，
Ch3_Addr_LL，Ch3_Addr_LH，
Ch3_Addr_HL，Ch3_Addr_HH，
Ch4_Addr_LL，Ch4_Addr_LH，
Ch4_Addr_HL，Ch4_Addr_HH，
CRC16_L，CRC16_H
//-------------------------------------------------------------------------------------------
The data from MPU to computer should be like this:
Ch1Data_L，Ch1Data_H，
Ch2Data_L，Ch2Data_H，
Ch3Data_L，Ch3Data_H，
Ch4Data_L，Ch4Data_H，
CRC16_L，CRC16_H
//-------------------------------------------------------------------------------------------
the following is MPU code,please refer.
#define RxCountMax 18

unsigned char RxBuf[RxCountMax];
unsigned char TxBuf[10];
unsigned char RxCnt = 0;
unsigned char TxCnt = 0;
unsigned short Rx50msCnt = 0;
//The four addresses requested by the computer, 0 until a valid request has come
unsigned long pAddr1 = 0, pAddr2 = 0, pAddr3 = 0, pAddr4 = 0;

//Receive interrupt routine
void voRxIsr(void)
{
    //Clear the receive interrupt flag here
    RxBuf[RxCnt] = Rx.data;
    RxCnt++;
    Rx50msCnt = 0;
    if (RxCnt >= RxCountMax)
    {
        //A request that fails the CRC test is ignored: the previous addresses stay
        if (CRC_CHECK(RxBuf, 16) == (unsigned short)(RxBuf[17] * 256 + RxBuf[16]))
        {
            pAddr1 = (unsigned long)RxBuf[3] << 24 | (unsigned long)RxBuf[2] << 16 |
                     (unsigned long)RxBuf[1] << 8 | RxBuf[0];
            pAddr2 = (unsigned long)RxBuf[7] << 24 | (unsigned long)RxBuf[6] << 16 |
                     (unsigned long)RxBuf[5] << 8 | RxBuf[4];
            pAddr3 = (unsigned long)RxBuf[11] << 24 | (unsigned long)RxBuf[10] << 16 |
                     (unsigned long)RxBuf[9] << 8 | RxBuf[8];
            pAddr4 = (unsigned long)RxBuf[15] << 24 | (unsigned long)RxBuf[14] << 16 |
                     (unsigned long)RxBuf[13] << 8 | RxBuf[12];
        }
        RxCnt = 0;
    }
}

//Transfer interrupt routine
void voTxIsr(void)
{
    //Clear the transmit interrupt flag here
    if (TxCnt <= 9)
    {
        Tx.Register = TxBuf[TxCnt];
        TxCnt++;
    }
    if (TxCnt >= 10)
    {
        //Disable the transmit interrupt here
    }
}

//Monitor routine Execute every T Period time
//T must be long enough to send the 10 bytes of a frame at the line's baud rate
void voMonitor(void)
{
    unsigned short Data, CRC_Temp;

    //A request cut short is dropped after 500 periods without a received byte
    Rx50msCnt++;
    if (Rx50msCnt >= 500)
    {
        RxCnt = 0;
        Rx50msCnt = 0;
    }
    Data = *(volatile unsigned short *)pAddr1;
    TxBuf[0] = (unsigned char)Data;
    TxBuf[1] = (unsigned char)(Data >> 8);
    Data = *(volatile unsigned short *)pAddr2;
    TxBuf[2] = (unsigned char)Data;
    TxBuf[3] = (unsigned char)(Data >> 8);
    Data = *(volatile unsigned short *)pAddr3;
    TxBuf[4] = (unsigned char)Data;
    TxBuf[5] = (unsigned char)(Data >> 8);
    Data = *(volatile unsigned short *)pAddr4;
    TxBuf[6] = (unsigned char)Data;
    TxBuf[7] = (unsigned char)(Data >> 8);
    CRC_Temp = CRC_CHECK(TxBuf, 8);
    TxBuf[8] = (unsigned char)CRC_Temp;
    TxBuf[9] = (unsigned char)(CRC_Temp >> 8);
    Tx.Register = TxBuf[0];
    TxCnt = 1;
    //Enable the transmit interrupt here
}
//-------------------------------------------------------------------------------------------
)PROTOCOL";

}  // namespace

std::string_view ProtocolDescriptionText() { return kText; }

}  // namespace ondrix

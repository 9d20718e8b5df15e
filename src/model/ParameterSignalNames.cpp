#include "model/ParameterCatalogueData.h"
#include "model/BlockCatalogue.h"

namespace z5::catalogue_data {
namespace {

// Input and output signal names per type, each eight names of exactly 12
// characters written as one 96-character string (blanks where a type has no name).
// Note the Cyrillic "А" and "Х" in "Выход MАХ   " of A_I: they are the original names.
const BlockSignalNames kSignalNames[] = {
    {BlockType::A_I, u"Выход 0-100%Выход SCAL  Выход MIN   Выход MАХ   Выход 0-100%Выход SCAL  Выход MIN   Выход MАХ   ",
           u"Выход 0-100%Выход SCAL  Выход MIN   Выход MАХ   Выход 0-100%Выход SCAL  Выход MIN   Выход MАХ   "},
    {BlockType::A_O, u"Вход 1 aOUT Вход 2 aOUT Вход 3 aOUT Вход 4 aOUT                                                 ",
           u"                                                                                                "},
    {BlockType::D_I, u"                                                                                                ",
           u"Выход 1 dIN Выход 2 dIN Выход 3 dIN Выход 4 dIN Выход 5 dIN Выход 6 dIN Выход 7 dIN Выход 8 dIN "},
    {BlockType::D_O, u"Вход 1 dOUT Вход 2 dOUT Вход 3 dOUT Вход 4 dOUT Вход 5 dOUT Вход 6 dOUT Вход 7 dOUT Вход 8 dOUT ",
           u"                                                                                                "},
    {BlockType::RS4, u"                                                                                                ",
           u"                                                                                                "},
    {BlockType::MUL, u"Вход 1 MUL 1Вход 2 MUL 1Вход 1 MUL 2Вход 2 MUL 2Вход 1 MUL 3Вход 2 MUL 3Вход 1 MUL 4Вход 2 MUL 4",
           u"Выход 1 MUL Выход 2 MUL Выход 3 MUL Выход 4 MUL                                                 "},
    {BlockType::SUM, u"Вход 1 SUM  Вход 2 SUM  Вход 3 SUM  Вход 4 SUM  Вход 5 SUM  Вход 6 SUM  Вход 7 SUM  Вход 8 SUM  ",
           u"Выход 1 SUM Выход 2 SUM Выход 3 SUM Выход 4 SUM                                                 "},
    {BlockType::DIV, u"Вход 1 DIV 1Вход 2 DIV 1Вход 1 DIV 2Вход 2 DIV 2Вход 1 DIV 3Вход 2 DIV 3Вход 1 DIV 4Вход 2 DIV 4",
           u"Выход 1 DIV Выход 2 DIV Выход 3 DIV Выход 4 DIV                                                 "},
    {BlockType::SQR, u"Вход 1 SQRT Вход 2 SQRT Вход 3 SQRT Вход 4 SQRT                                                 ",
           u"Выход 1 SQRTВыход 2 SQRTВыход 3 SQRTВыход 4 SQRT                                                "},
    {BlockType::ABS, u"Вход 1 ABS  Вход 2 ABS  Вход 3 ABS  Вход 4 ABS                                                  ",
           u"Выход 1 ABS Выход 2 ABS Выход 3 ABS Выход 4 ABS                                                 "},
    {BlockType::AND, u"Вход 1 AND 1Вход 2 AND 1Вход 3 AND 2Вход 4 AND 2Вход 5 AND 3Вход 6 AND 3Вход 7 AND 4Вход 8 AND 4",
           u"Выход 1 AND Выход 2 AND Выход 3 AND Выход 4 AND                                                 "},
    {BlockType::OR_, u"Вход 1 OR  1Вход 2 OR  1Вход 3 OR  2Вход 4 OR  2Вход 5 OR  3Вход 6 OR  3Вход 7 OR  4Вход 8 OR  4",
           u"Выход 1 OR  Выход 2 OR  Выход 3 OR  Выход 4 OR                                                  "},
    {BlockType::XOR, u"Вход 1 XOR 1Вход 2 XOR 1Вход 1 XOR 2Вход 2 XOR 2Вход 1 XOR 3Вход 2 XOR 3Вход 1 XOR 4Вход 2 XOR 4",
           u"Выход 1 XOR Выход 2 XOR Выход 3 XOR Выход 4 XOR                                                 "},
    {BlockType::TRI, u"Вход 1 SET 1Вход 2 RES 1Вход 1 SET 2Вход 2 RES 2Вход 1 SET 3Вход 2 RES 3Вход 1 SET 4Вход 2 RES 4",
           u"Выход 1 TRIGВыход 2 TRIGВыход 3 TRIGВыход 4 TRIG                                                "},
    {BlockType::REG, u"Вход 1 DAT 1Вход 2 WR 1 Вход 1 DAT 2Вход 2 WR 2 Вход 1 DAT 3Вход 2 WR 3 Вход 1 DAT 4Вход 2 WR 4 ",
           u"Выход 1 REG Выход 2 REG Выход 3 REG Выход 4 REG                                                 "},
    {BlockType::S_P, u"                                                                                                ",
           u"                                                                                                "},
    {BlockType::PID, u"Вход 1 DATA1Вход 2 SPEX1Вход 3 RS TiВход 1 DATA2Вход 2 SPEX2Вход 3 RS Ti                        ",
           u"Выход 1 PID Выход 2 PID                                                                         "},
    {BlockType::MUX, u"Вход 1 ADR 0Вход 2 ADR 1Вход 3 IN1MDВход 4 IN 2 Вход 5 IN 3 Вход 6 IN1-4Вход 7 IN 2 Вход 8 IN 3 ",
           u"Выход 1 M-D Выход 2 M-D Выход 3 DEX Выход 4 DEX Выход 5 DEX Выход 6 DEX Выход 7 DEX Выход 8 DEX "},
    {BlockType::PRO, u"Вход 1 DATA Вход 2 STOP Вход 3 STARTВход 4 PAUSE                                                ",
           u"Выход 1 PROGВыход 2 STEPВыход 3 TIMEВыход 4 ON                                                  "},
    {BlockType::PAN, u"Вход 1 LED  Вход 2 LED  Вход 3 LED  Вход 4 LED  Вход 1 LD/ATВход 2 LD/ATВход 3 LD/ATВход 4 LD/AT",
           u"Выход 1 SW1 Выход 1 SW2 Выход 2 SW1 Выход 2 SW2 Выход 3 SW1 Выход 3 SW2 Выход 4 SW1 Выход 4 SW2 "},
    {BlockType::RTC, u"Вход 1 RESET                                                                                    ",
           u"Выход 1 RTA                                                                                     "},
    {BlockType::MIN, u"Вход 1 MI/MAВход 2 MI/MAВход 3 MI/MAВход 4 MI/MAВход 5 MI/MAВход 6 MI/MAВход 7 MI/MAВход 8 MI/MA",
           u"Выход 1 MIMAВыход 2 NUM                                                                         "},
    {BlockType::LIM, u"Вход 1 LIMIT                                                                                    ",
           u"Выход 1 LIM Выход 2 MIN Выход 3 MAX                                                             "},
    {BlockType::CMP, u"Вход 1 CMP1 Вход 2 CMP2                                                                         ",
           u"Выход 1 LESSВыход 2 EQW Выход 3 GR                                                              "},
    {BlockType::TIM, u"Вход 1 STOP Вход 2 RESETВход 3 STOP Вход 4 RESETВход 5 STOP Вход 6 RESETВход 7 STOP Вход 8 RESET",
           u"Выход 1 TIMEВыход 2 OUT Выход 3 TIMEВыход 4 OUT Выход 5 TIMEВыход 6 OUT Выход 7 TIMEВыход 8 OUT "},
    {BlockType::COU, u"Вход 1 UP   Вход 2 DN   Вход 3 RESETВход 4 STOP                                                 ",
           u"Выход 1 SP  Выход 2 MIN Выход 3 MAX                                                             "},
    {BlockType::OSC, u"Вход 1 STR 1Вход 2 RES 1Вход 1 STR 2Вход 2 RES 2STR 3/IMP 1 RES 3/PAUS 1STR 4/IMP 2 RES 4/PAUS 2",
           u"Выход 1 GEN1Выход 2 OUT1Выход 1 GEN2Выход 2 OUT2Выход 1 GEN3Выход 2 OUT3Выход 1 GEN4Выход 2 OUT4"},
    {BlockType::GRA, u"Вход 1 GRAF1Вход 2 GRAF2Вход 2 GRAF3Вход 2 GRAF4                                                ",
           u"                                                                                                "},
    {BlockType::JUR, u"                                                                                                ",
           u"Архив       Предупрежд. Опасность 1 Опасность 2 Авария 1    Авария 2    Авария 3    Сигнализация"},
    {BlockType::SCA, u"                                                                                                ",
           u"Кнопка 1 ст1Кнопка 2 ст1Кнопка 1 ст2Кнопка 2 ст2Кнопка 1 ст3Кнопка 2 ст3Кнопка 1 ст4Кнопка 2 ст4"},
    {BlockType::LOG, u"Вход 1 IN 1 Вход 2 IN 2 Вход 3 IN 3 Вход 4 SP 1 Вход 5 SP 2 Вход 6 SP 3 Вход 7 RESETВход 8 ON   ",
           u"Выход 1 OUT1Выход 2 OUT2Выход 3 OUT3Выход 4 END Выход 5 STEPВыход 6 TIME                        "},
    {BlockType::MOT, u"Вход START  Вход REVERS Вход SPEED  Вход EMERGENВход SPEED H                                    ",
           u"Выход CODERRВыход ERROR Выход OCF   Выход EMERG                                                 "},
    {BlockType::UNI, u"Вход 1      Вход 2      Вход 3      Вход 4      Вход 5      Вход 6      Вход 7      Вход 8      ",
           u"Выход 1     Выход 2     Выход 3     Выход 4     Выход 5     Выход 6     Выход 7     Выход 8     "},
};

} // namespace

const BlockSignalNames *signalNames(std::size_t *count) {
    *count = sizeof(kSignalNames) / sizeof(kSignalNames[0]);
    return kSignalNames;
}

} // namespace z5::catalogue_data

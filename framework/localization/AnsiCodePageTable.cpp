#include "AnsiCodePageTable.h"

#include <array>
#include <utility>

namespace {

// What Windows' locale data reports as LOCALE_IDEFAULTANSICODEPAGE for every
// language of the language table.
constexpr std::array<std::pair<uint16_t, unsigned>, 73> kCodePages = {{
    {0x0409, 1252}, // ENU
    {0x0809, 1252}, // ENG
    {0x1009, 1252}, // ENC
    {0x0C09, 1252}, // ENA
    {0x0422, 1251}, // UKR
    {0x0411, 932}, // JPN
    {0x0419, 1251}, // RUS
    {0x0407, 1252}, // DEU
    {0x040C, 1252}, // FRA
    {0x0C0C, 1252}, // FRC
    {0x0410, 1252}, // ITA
    {0x0416, 1252}, // PTB
    {0x0816, 1252}, // PTG
    {0x0406, 1252}, // DAN
    {0x0413, 1252}, // NLD
    {0x0404, 950}, // CHT
    {0x0804, 936}, // CHS
    {0x0C04, 950}, // ZHH
    {0x1004, 936}, // ZHI
    {0x1404, 950}, // ZHM
    {0x040B, 1252}, // FIN
    {0x040E, 1250}, // HUN
    {0x0415, 1250}, // PLK
    {0x041D, 1252}, // SVE
    {0x0414, 1252}, // NOR
    {0x0405, 1250}, // CSY
    {0x0412, 949}, // KOR
    {0x041B, 1250}, // SKY
    {0x0424, 1250}, // SLV
    {0x0408, 1253}, // ELL
    {0x041F, 1254}, // TRK
    {0x041E, 874}, // THA
    {0x0C0A, 1252}, // ESN
    {0x040A, 1252}, // ESP
    {0x2C0A, 1252}, // ESS
    {0x400A, 1252}, // ESB
    {0x340A, 1252}, // ESL
    {0x240A, 1252}, // ESO
    {0x140A, 1252}, // ESC
    {0x1C0A, 1252}, // ESD
    {0x300A, 1252}, // ESF
    {0x440A, 1252}, // ESE
    {0x100A, 1252}, // ESG
    {0x480A, 1252}, // ESH
    {0x080A, 1252}, // ESM
    {0x4C0A, 1252}, // ESI
    {0x180A, 1252}, // ESA
    {0x3C0A, 1252}, // ESZ
    {0x280A, 1252}, // ESR
    {0x500A, 1252}, // ESU
    {0x380A, 1252}, // ESY
    {0x200A, 1252}, // ESV
    {0x0403, 1252}, // CAT
    {0x041A, 1250}, // HRV
    {0x0401, 1256}, // ARA
    {0x1401, 1256}, // ARG
    {0x3C01, 1256}, // ARH
    {0x0C01, 1256}, // ARE
    {0x0801, 1256}, // ARI
    {0x2C01, 1256}, // ARJ
    {0x3401, 1256}, // ARK
    {0x3001, 1256}, // ARB
    {0x1001, 1256}, // ARL
    {0x1801, 1256}, // ARM
    {0x2001, 1256}, // ARO
    {0x4001, 1256}, // ARQ
    {0x2801, 1256}, // ARS
    {0x1C01, 1256}, // ART
    {0x3801, 1256}, // ARU
    {0x2401, 1256}, // ARY
    {0x040D, 1255}, // HEB
    {0x0421, 1252}, // IND
    {0x043E, 1252}, // MSL
}};

} // namespace

unsigned AnsiCodePageTable::Lookup(uint16_t langId)
{
    for (const auto& [id, codePage] : kCodePages)
        if (id == langId)
            return codePage;
    return 0;
}

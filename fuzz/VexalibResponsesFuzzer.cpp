// Any responses of a bridge chip to the library's commands. The first byte
// picks the call, the next two a transaction size where the call has one;
// the rest are the chip's 64-byte responses in order. Every call must stay
// within the caller's buffers and end.

#include "ScriptedDeviceIo.h"
#include "SpiTransfer.h"
#include "vexalib.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// A handle of the virtual-bus kind on descriptor 3; the report I/O above
// ignores it.
VexaHandle Handle()
{
    return reinterpret_cast<VexaHandle>(std::uintptr_t{3 * 4 + 1});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const std::uint8_t call = data[0];
    const std::uint32_t wanted = static_cast<std::uint32_t>(data[1] | data[2] << 8) % 1025;
    fuzzio::SetResponses(data + 3, size - 3);
    const VexaHandle handle = Handle();

    switch (call % 12) {
    case 0: {
        // Only the wanted size is the caller's: the buffers hold exactly that.
        std::vector<std::uint8_t> tx(wanted, 0x5A);
        std::vector<std::uint8_t> rx(wanted);
        std::uint32_t bitRate = 4000;
        std::uint32_t txferSize = wanted;
        vexa::transferSpiData(handle, tx.data(), rx.data(), &bitRate, &txferSize, 0x10000000,
                              wanted, [](std::chrono::milliseconds) {});
        break;
    }
    case 1: {
        std::vector<std::uint8_t> tx(wanted == 0 ? 1 : wanted, 0x5A);
        std::vector<std::uint8_t> rx(tx.size());
        vexa::runSpiTransfer(handle, tx.data(), rx.data(), 4000,
                             static_cast<std::uint32_t>(tx.size()),
                             [](std::chrono::milliseconds) {});
        break;
    }
    case 2: {
        std::uint32_t bitRate = 0, idle = 0, active = 0, d1 = 0, d2 = 0, d3 = 0, txferSize = 0;
        std::uint8_t mode = 0;
        Vexa_GetSpiConfig(handle, static_cast<std::uint8_t>(call >> 7), &bitRate, &idle, &active,
                          &d1, &d2, &d3, &txferSize, &mode);
        break;
    }
    case 3: {
        std::uint32_t bitRate = 4000 + wanted, idle = 0x1FF, active = 0x1EF, d1 = 0, d2 = 0,
                      d3 = 20, txferSize = wanted;
        std::uint8_t mode = 0;
        Vexa_SetSpiConfig(handle, VEXA_CFG_CURRENT, &bitRate, &idle, &active, &d1, &d2, &d3,
                          &txferSize, &mode);
        break;
    }
    case 4: {
        std::array<vexa_char16, 64> text{};
        Vexa_GetManufacturerString(handle, text.data());
        Vexa_GetProductString(handle, text.data());
        Vexa_GetSerialNumber(handle, text.data());
        break;
    }
    case 5: {
        std::uint8_t pins[9] = {};
        std::uint32_t outputs = 0, directions = 0;
        std::uint8_t b4 = 0, b13 = 0, b0 = 0;
        Vexa_GetGpioConfig(handle, static_cast<std::uint8_t>(call >> 7), pins, &outputs,
                           &directions, &b4, &b13, &b0);
        break;
    }
    case 6: {
        std::uint16_t vid = 0, pid = 0, current = 0;
        std::uint8_t power = 0, wake = 0;
        Vexa_GetUsbKeyParams(handle, &vid, &pid, &power, &wake, &current);
        break;
    }
    case 7: {
        std::uint8_t value = 0;
        Vexa_ReadEEProm(handle, static_cast<std::uint8_t>(wanted), &value);
        Vexa_WriteEEProm(handle, static_cast<std::uint8_t>(wanted), value);
        break;
    }
    case 8: {
        std::uint32_t count = 0;
        Vexa_GetInterruptCount(handle, &count, static_cast<std::uint8_t>(call >> 7));
        std::uint8_t access = 0, s4 = 0, s5 = 0;
        Vexa_GetAccessCtrlStatus(handle, &access, &s4, &s5);
        break;
    }
    case 9: {
        std::uint8_t s2 = 0, s3 = 0, s10 = 0;
        Vexa_GetSpiStatus(handle, &s2, &s3, &s10);
        Vexa_CancelSpiTxfer(handle, &s2, &s3);
        Vexa_RequestSpiBusRel(handle, static_cast<std::uint8_t>(wanted));
        break;
    }
    case 10: {
        std::uint32_t direction = 0, value = 0;
        Vexa_GetGpioPinDir(handle, &direction);
        Vexa_GetGpioPinVal(handle, &value);
        break;
    }
    default: {
        Vexa_EnterPassword(handle, "password");
        break;
    }
    }
    return 0;
}

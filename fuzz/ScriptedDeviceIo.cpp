#include "ScriptedDeviceIo.h"

#include "platform/DeviceIo.h"

#include <algorithm>
#include <cstring>

namespace {

const std::uint8_t* Responses = nullptr;
std::size_t ResponsesLeft = 0;
std::size_t Writes = 0;

constexpr std::size_t ResponseSize = 64;

} // namespace

namespace fuzzio {

void SetResponses(const std::uint8_t* data, std::size_t size)
{
    Responses = data;
    ResponsesLeft = size;
    Writes = 0;
}

std::size_t WrittenReports()
{
    return Writes;
}

} // namespace fuzzio

namespace vexa::platform {

IoResult writeReport(VexaHandle, const std::uint8_t*, std::size_t size, int)
{
    ++Writes;
    return {VEXA_OK, size};
}

IoResult readReport(VexaHandle, std::uint8_t* report, std::size_t capacity, int)
{
    if (ResponsesLeft == 0 || capacity == 0)
        return {VEXA_REPORT_TIMEOUT, 0};
    // A short last response is a short report.
    const std::size_t data = std::min({ResponseSize, ResponsesLeft, capacity - 1});
    report[0] = 0;
    std::memcpy(report + 1, Responses, data);
    Responses += data;
    ResponsesLeft -= data;
    return {VEXA_OK, data + 1};
}

std::int32_t closeDevice(VexaHandle)
{
    return VEXA_OK;
}

} // namespace vexa::platform

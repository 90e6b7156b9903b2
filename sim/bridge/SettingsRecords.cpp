#include "sim/bridge/SettingsRecords.h"

#include <algorithm>

#include "sim/bridge/ReportFields.h"

namespace sim::vexa {

namespace {
constexpr std::size_t RecordOffset = 4;
constexpr std::uint8_t StringDescriptorType = 0x03;
} // namespace

void putSpiTransferSettings(Report& report, const SpiTransferSettings& settings)
{
    putU32(report, 4, settings.bitRate);
    putU16(report, 8, settings.idleCsValues);
    putU16(report, 10, settings.activeCsValues);
    putU16(report, 12, settings.delay1);
    putU16(report, 14, settings.delay2);
    putU16(report, 16, settings.delay3);
    putU16(report, 18, settings.txferSize);
    report[20] = settings.spiMode;
}

SpiTransferSettings takeSpiTransferSettings(const Report& report)
{
    SpiTransferSettings settings;
    settings.bitRate = getU32(report, 4);
    settings.idleCsValues = getU16(report, 8);
    settings.activeCsValues = getU16(report, 10);
    settings.delay1 = getU16(report, 12);
    settings.delay2 = getU16(report, 14);
    settings.delay3 = getU16(report, 16);
    settings.txferSize = getU16(report, 18);
    settings.spiMode = report[20];
    return settings;
}

void putChipSettings(Report& report, const ChipSettings& settings)
{
    for (std::size_t pin = 0; pin < PinCount; ++pin)
        report[RecordOffset + pin] = settings.pinDesignations[pin];
    putU16(report, 13, settings.defaultOutputs);
    putU16(report, 15, settings.defaultDirections);
    report[17] = settings.settingsByte;
}

ChipSettings takeChipSettings(const Report& report)
{
    ChipSettings settings;
    for (std::size_t pin = 0; pin < PinCount; ++pin)
        settings.pinDesignations[pin] = report[RecordOffset + pin];
    settings.defaultOutputs = getU16(report, 13);
    settings.defaultDirections = getU16(report, 15);
    settings.settingsByte = report[17];
    return settings;
}

void putUsbKeyAnswer(Report& report, const UsbKeyParams& params)
{
    putU16(report, 12, params.vid);
    putU16(report, 14, params.pid);
    report[29] = params.powerAttributes;
    report[30] = params.maxCurrentUnits;
}

UsbKeyParams takeUsbKeyRequest(const Report& report)
{
    UsbKeyParams params;
    params.vid = getU16(report, 4);
    params.pid = getU16(report, 6);
    params.powerAttributes = report[8];
    params.maxCurrentUnits = report[9];
    return params;
}

void putStringDescriptor(Report& report, const std::u16string& text)
{
    const std::size_t length = std::min(text.size(), BridgeChipNvram::MaxStringLength);
    report[RecordOffset] = static_cast<std::uint8_t>(2 * length + 2);
    report[RecordOffset + 1] = StringDescriptorType;
    for (std::size_t i = 0; i < length; ++i)
        putU16(report, RecordOffset + 2 + 2 * i, static_cast<std::uint16_t>(text[i]));
}

std::optional<std::u16string> takeStringDescriptor(const Report& report)
{
    const std::size_t length = report[RecordOffset];
    if (report[RecordOffset + 1] != StringDescriptorType || length < 2 || length % 2 != 0 ||
        length > 2 * BridgeChipNvram::MaxStringLength + 2)
        return std::nullopt;
    std::u16string text;
    for (std::size_t i = 0; i < (length - 2) / 2; ++i)
        text.push_back(static_cast<char16_t>(getU16(report, RecordOffset + 2 + 2 * i)));
    return text;
}

} // namespace sim::vexa

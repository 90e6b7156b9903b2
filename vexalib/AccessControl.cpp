#include "ChipCommands.h"
#include "CommandExchange.h"
#include "DeviceHandle.h"
#include "SettingsCommands.h"
#include "vexalib.h"

#include <array>
#include <cstring>

using namespace vexa;

namespace {

constexpr std::size_t passwordOffset = 4;

// A password is exactly eight characters; at most nine are looked at, so an
// unterminated buffer of eight is not read past its end plus one.
bool isPassword(const char* password)
{
    return ::strnlen(password, VEXA_PASSWORD_CHARS + 1) == VEXA_PASSWORD_CHARS;
}

// Checks a new password: VEXA_NULL_ARGUMENT, VEXA_BAD_ARGUMENT_VALUE or VEXA_OK.
int32_t checkNewPassword(const char* password)
{
    if (password == nullptr)
        return VEXA_NULL_ARGUMENT;
    return isPassword(password) ? VEXA_OK : VEXA_BAD_ARGUMENT_VALUE;
}

// Reads the power-up chip settings that an access-control change writes back;
// a permanently locked chip refuses every change with VEXA_ACCESS_LOCKED.
int32_t readChangeableSettings(VexaHandle handle, ChipSettings& settings, uint8_t& state)
{
    if (const auto result = readPowerUpChipSettings(handle, settings, state); result != VEXA_OK)
        return result;
    return state == VEXA_AC_LOCKED ? VEXA_ACCESS_LOCKED : VEXA_OK;
}

} // namespace

extern "C" {

int32_t Vexa_GetAccessCtrlStatus(VexaHandle handle, uint8_t* accessControl, uint8_t* statusByte4,
                                 uint8_t* statusByte5)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    if (accessControl == nullptr || statusByte4 == nullptr || statusByte5 == nullptr)
        return VEXA_NULL_ARGUMENT;
    const std::array<uint8_t, 1> command{VEXA_CMD_STATUS};
    std::array<uint8_t, 11> status{};
    if (const auto result = runCommand(handle, command, status); result != VEXA_OK)
        return result;
    ChipSettings settings;
    uint8_t state = 0;
    if (const auto result = readPowerUpChipSettings(handle, settings, state); result != VEXA_OK)
        return result;
    *accessControl = state;
    *statusByte4 = status[4];
    *statusByte5 = status[5];
    return VEXA_OK;
}

int32_t Vexa_EnterPassword(VexaHandle handle, const char* password)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    if (password == nullptr)
        return VEXA_NULL_ARGUMENT;
    if (!isPassword(password))
        return VEXA_BAD_ARGUMENT_VALUE;
    std::array<uint8_t, passwordOffset + VEXA_PASSWORD_CHARS> command{VEXA_CMD_SEND_PASSWORD};
    std::memcpy(command.data() + passwordOffset, password, VEXA_PASSWORD_CHARS);
    std::array<uint8_t, 2> response{};
    return runCommand(handle, command, response,
                      {{VEXA_ST_BLOCKED, VEXA_PASSWORD_BLOCKED},
                       {VEXA_ST_LOCKED, VEXA_ACCESS_LOCKED},
                       {VEXA_ST_PASSWORD_REFUSED, VEXA_PASSWORD_REFUSED}});
}

int32_t Vexa_SetAccessControl(VexaHandle handle, uint8_t mode, const char* currentPassword,
                              const char* newPassword)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    if (mode != VEXA_AC_OPEN && mode != VEXA_AC_PASSWORD && mode != VEXA_AC_CHANGE_PASSWORD)
        return VEXA_BAD_ARGUMENT_VALUE;

    ChipSettings settings;
    uint8_t state = 0;
    if (const auto result = readChangeableSettings(handle, settings, state); result != VEXA_OK)
        return result;

    uint8_t newState = state;
    const char* passwordToSet = nullptr;
    switch (mode) {
    case VEXA_AC_OPEN:
        if (state == VEXA_AC_OPEN)
            return VEXA_OK;
        if (const auto result = Vexa_EnterPassword(handle, currentPassword); result != VEXA_OK)
            return result;
        newState = VEXA_AC_OPEN;
        break;
    case VEXA_AC_PASSWORD:
        if (state == VEXA_AC_PASSWORD)
            return VEXA_PROTECTION_ALREADY_ON;
        if (const auto result = checkNewPassword(newPassword); result != VEXA_OK)
            return result;
        newState = VEXA_AC_PASSWORD;
        passwordToSet = newPassword;
        break;
    default:
        if (state != VEXA_AC_PASSWORD)
            return VEXA_PROTECTION_NOT_ON;
        if (const auto result = checkNewPassword(newPassword); result != VEXA_OK)
            return result;
        if (const auto result = Vexa_EnterPassword(handle, currentPassword); result != VEXA_OK)
            return result;
        passwordToSet = newPassword;
        break;
    }
    return writePowerUpChipSettings(handle, settings, newState, passwordToSet);
}

int32_t Vexa_SetPermanentLock(VexaHandle handle)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    ChipSettings settings;
    uint8_t state = 0;
    if (const auto result = readChangeableSettings(handle, settings, state); result != VEXA_OK)
        return result;
    return writePowerUpChipSettings(handle, settings, VEXA_AC_LOCKED, nullptr);
}

} // extern "C"

/*
 * vexalib: driver library for the Vexa USB-to-SPI bridge chip.
 *
 * The chip enumerates as a USB HID device and is driven with 64-byte command
 * reports, each answered by one 64-byte response report (except the reset
 * command). This library finds and opens bridge chips and offers the chip's
 * whole interface: SPI transfers and SPI settings, GPIO and pin settings, USB
 * key parameters and strings, user EEPROM, interrupt counter and access
 * control.
 *
 * Conventions shared by every function:
 *  - Functions return a signed 32-bit result: VEXA_OK (0) or one negative
 *    result code (see enum VexaResult). Codes are never combined. The
 *    exceptions are Vexa_GetLastError, Vexa_GetConnectedDevCount (a count),
 *    Vexa_GetLibraryVersion (a byte count) and the two opens (a handle).
 *  - Every function that takes a handle rejects NULL with VEXA_NULL_ARGUMENT
 *    and VEXA_INVALID_HANDLE with VEXA_BAD_HANDLE before anything else, unless
 *    its description says otherwise. A NULL pointer argument that the
 *    function needs is VEXA_NULL_ARGUMENT as well.
 *  - The common results of every function that takes a handle: VEXA_OK,
 *    VEXA_NULL_ARGUMENT and VEXA_BAD_HANDLE, and, when it talks to the chip,
 *    the transport results of any of its command exchanges:
 *      VEXA_REPORT_TIMEOUT    a report was not written or did not arrive in
 *                             time
 *      VEXA_REPORT_IO_FAILED  a report write or read failed (also when the
 *                             device was unplugged)
 *      VEXA_FAILED            a response had another length than the command
 *                             expects
 *      VEXA_ECHO_MISMATCH     a response does not echo the command
 *      VEXA_CHIP_REFUSED      the chip answered with a status that the
 *                             command has no other code for
 *    Each function below lists the results it can give beyond the common
 *    ones.
 *  - Out values are written only on success. Argument errors are found before
 *    any command is sent, so a rejected call changes nothing in the chip.
 *  - Every report exchange is bounded: a report that cannot be written or
 *    does not arrive within VEXA_REPORT_TIMEOUT_MS gives VEXA_REPORT_TIMEOUT.
 *  - Text is UTF-16 (vexa_char16, native byte order) ended by a zero
 *    character. Path buffer sizes are counted in bytes.
 *  - Vendor and product IDs are passed as 32-bit values of which only the
 *    low 16 bits are used.
 *  - All buffers are the caller's. The library allocates nothing that
 *    outlives a call, keeps no table of open devices and caches nothing; it
 *    takes no locks, logs nothing and has no configuration.
 *  - Threads: operations on different handles may run in parallel; one handle
 *    is used by one thread at a time (the caller serialises its use).
 *
 * Devices: on Linux the library drives hidraw device nodes (/dev/hidrawN) and
 * takes an exclusive advisory lock (flock) on the node for as long as the
 * device is open. When the environment variable VHID_BUS names a directory,
 * the devices of that virtual HID bus are used instead of the system's.
 */
#ifndef VEXALIB_H
#define VEXALIB_H

#include <stdint.h>

/* The version of this header and of the library built from it. */
#define VEXALIB_VERSION_MAJOR 2
#define VEXALIB_VERSION_MINOR 1
#define VEXALIB_VERSION_PATCH 0
#define VEXALIB_VERSION_STRING "2.1.0"
/* One number for comparisons: major * 10000 + minor * 100 + patch. */
#define VEXALIB_VERSION_NUMBER                                                                     \
    (VEXALIB_VERSION_MAJOR * 10000 + VEXALIB_VERSION_MINOR * 100 + VEXALIB_VERSION_PATCH)

#if defined(_WIN32)
#if defined(VEXALIB_BUILDING)
#define VEXA_API __declspec(dllexport)
#else
#define VEXA_API __declspec(dllimport)
#endif
#else
#define VEXA_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* One UTF-16 code unit. Not wchar_t, which is 32 bits wide on Linux. */
typedef uint16_t vexa_char16;

/*
 * An open bridge device. Opaque and pointer-sized; it refers to the operating
 * system's descriptor of the open device and is not a pointer to memory. NULL
 * is never a valid handle, and VEXA_INVALID_HANDLE (all bits set) is what a
 * failed open returns. A handle is valid from a successful open until
 * Vexa_Close or Vexa_Reset; closing it again gives VEXA_BAD_HANDLE.
 */
typedef struct VexaDevice* VexaHandle;

#define VEXA_INVALID_HANDLE ((VexaHandle)(~(uintptr_t)0))

/* Result codes. */
enum VexaResult {
    /* Success. */
    VEXA_OK = 0,
    /* A system call failed (device enumeration), a response had another
     * length than the command expects, the transfer engine met an
     * unexpected status or engine state, or the chip names a larger SPI
     * transaction than the caller's buffers hold. */
    VEXA_FAILED = -1,
    /* An argument value is out of its range. */
    VEXA_BAD_ARGUMENT_VALUE = -2,
    /* The device-path buffer is smaller than the path; the needed size in
     * bytes was written back. */
    VEXA_PATH_BUFFER_SHORT = -3,
    /* The handle or a required pointer argument is NULL. */
    VEXA_NULL_ARGUMENT = -10,
    /* A working buffer could not be allocated. */
    VEXA_NO_MEMORY = -20,
    /* The handle is the invalid value, or the system rejects it on close. */
    VEXA_BAD_HANDLE = -30,
    /* Open by index: fewer matching devices than index + 1. */
    VEXA_INDEX_BEYOND_COUNT = -101,
    /* No present device matches the VID/PID. */
    VEXA_NO_MATCHING_DEVICE = -103,
    /* Opening the device failed for a reason other than it being in use. */
    VEXA_OPEN_REFUSED = -105,
    /* The device is open already, in this process or another. */
    VEXA_DEVICE_IN_USE = -106,
    /* Closing the handle failed. */
    VEXA_CLOSE_REFUSED = -107,
    /* No present device has the serial number. */
    VEXA_SERIAL_NOT_PRESENT = -108,
    /* A report write or read did not complete within VEXA_REPORT_TIMEOUT_MS. */
    VEXA_REPORT_TIMEOUT = -110,
    /* A report write or read failed or moved fewer bytes than required (also
     * when the device was unplugged). */
    VEXA_REPORT_IO_FAILED = -111,
    /* The chip answered with a status that the command has no other code for. */
    VEXA_CHIP_REFUSED = -200,
    /* The response does not echo the command code, sub-command or address. */
    VEXA_ECHO_MISMATCH = -201,
    /* The chip refused new SPI transfer settings because it is busy. */
    VEXA_SPI_SETTINGS_BUSY = -203,
    /* The chip refused a transfer chunk (status 0xF7). */
    VEXA_SPI_TRANSFER_REFUSED = -204,
    /* The transfer used up its VEXA_TRANSFER_ROUNDS busy or poll rounds. */
    VEXA_TRANSFER_GAVE_UP = -205,
    /* The chip reported the transfer finished before all bytes came back. */
    VEXA_TRANSFER_SHORT = -206,
    /* The chip refused the bus-release request because it is busy. */
    VEXA_BUS_RELEASE_BUSY = -207,
    /* A power-up settings write or an EEPROM write was blocked (status
     * 0xFB): the settings are password protected. */
    VEXA_WRITE_BLOCKED = -300,
    /* An EEPROM write was refused (status 0xFA). */
    VEXA_EEPROM_WRITE_REFUSED = -301,
    /* The chip's settings are permanently locked, or password entry was
     * answered with status 0xFC. */
    VEXA_ACCESS_LOCKED = -350,
    /* Password entry was refused (status 0xFD). */
    VEXA_PASSWORD_REFUSED = -351,
    /* Password entry was blocked (status 0xFB). */
    VEXA_PASSWORD_BLOCKED = -352,
    /* Password protection is already enabled. */
    VEXA_PROTECTION_ALREADY_ON = -353,
    /* Password protection is not enabled, so the password cannot be changed. */
    VEXA_PROTECTION_NOT_ON = -354,
    /* A string read back from the chip is not a well-formed string descriptor. */
    VEXA_BAD_STRING_DESCRIPTOR = -400,
    /* A string to be written is longer than VEXA_MAX_STRING_CHARS characters. */
    VEXA_STRING_TOO_LONG = -401
};

/* Settings selectors. */
enum VexaSelector {
    VEXA_CFG_CURRENT = 0, /* the settings the chip runs with now */
    VEXA_CFG_POWERUP = 1  /* the settings the chip keeps for its start-up */
};

/* Pin designations (pins 0 to 8). */
enum VexaPinDesignation {
    VEXA_PIN_GPIO = 0,        /* general-purpose I/O */
    VEXA_PIN_CHIP_SELECT = 1, /* chip select */
    VEXA_PIN_DEDICATED = 2    /* the pin's dedicated function */
};

/* Access-control states of the power-up settings, and the modes of
 * Vexa_SetAccessControl. */
enum VexaAccessControl {
    VEXA_AC_OPEN = 0x00,           /* open; as a mode: remove the protection */
    VEXA_AC_PASSWORD = 0x40,       /* password protected; as a mode: enable it */
    VEXA_AC_LOCKED = 0x80,         /* permanently locked */
    VEXA_AC_CHANGE_PASSWORD = 0xA5 /* mode only: change the password */
};

enum VexaLimits {
    /* Capacity in characters that Vexa_GetLibraryVersion requires. */
    VEXA_VERSION_BUFFER_CHARS = 32,
    /* Longest USB string; a buffer receiving one holds this + 1 characters. */
    VEXA_MAX_STRING_CHARS = 29,
    /* Characters of a password (followed by a terminating zero). */
    VEXA_PASSWORD_CHARS = 8,
    /* Bound of every report write and every report read. */
    VEXA_REPORT_TIMEOUT_MS = 1000,
    /* Busy answers and poll rounds a transfer may use before giving up. */
    VEXA_TRANSFER_ROUNDS = 200,
    /* The lowest SPI bit rate, in bits per second, that the chip can be set
     * to. */
    VEXA_LOWEST_BIT_RATE = 1500,
    /* The longest pause after a busy answer: the pause at
     * VEXA_LOWEST_BIT_RATE, taken also when a chip reports a lower rate. */
    VEXA_BUSY_PAUSE_LIMIT_MS = 67
};

/* ---- Library, discovery, open and close ------------------------------- */

/*
 * Writes the library version VEXALIB_VERSION_STRING ("2.1.0") with its
 * terminating zero into `version`, which must hold VEXA_VERSION_BUFFER_CHARS
 * characters. Returns the number of bytes written (12), or
 * VEXA_NULL_ARGUMENT.
 */
VEXA_API int32_t Vexa_GetLibraryVersion(vexa_char16* version);

/*
 * Returns the result code of the last Vexa_OpenByIndex or Vexa_OpenBySN in
 * this process (0 after success, 0 before any open). No other function
 * changes it. It is one value for the whole process, not per thread: a
 * program that opens from several threads serialises each open with its
 * Vexa_GetLastError call.
 */
VEXA_API int32_t Vexa_GetLastError(void);

/*
 * Returns the number of present devices with vendor ID `vid` and product ID
 * `pid` (0 or more), or VEXA_FAILED (the device list could not be read), or
 * VEXA_NO_MEMORY.
 */
VEXA_API int32_t Vexa_GetConnectedDevCount(uint32_t vid, uint32_t pid);

/*
 * Opens the matching device number `index` (counted from 0 in enumeration
 * order) exclusively.
 *  devicePath      optional buffer that receives the device path
 *  devicePathSize  optional; in: capacity of devicePath in bytes (0: no path
 *                  wanted); out, only on VEXA_PATH_BUFFER_SHORT: bytes needed
 * Returns the handle, or VEXA_INVALID_HANDLE on failure. The result code is
 * stored for Vexa_GetLastError: VEXA_OK, VEXA_PATH_BUFFER_SHORT (the device
 * is not left open), VEXA_NO_MEMORY, VEXA_FAILED, VEXA_INDEX_BEYOND_COUNT,
 * VEXA_NO_MATCHING_DEVICE, VEXA_OPEN_REFUSED or VEXA_DEVICE_IN_USE.
 */
VEXA_API VexaHandle Vexa_OpenByIndex(uint32_t vid, uint32_t pid, uint32_t index,
                                     vexa_char16* devicePath, uint32_t* devicePathSize);

/*
 * Opens exclusively the matching device whose USB serial number equals
 * `serialNumber` (compared without regard to letter case over at most 10
 * characters; a serial number of more than 10 characters is never found).
 * Path arguments and result as for Vexa_OpenByIndex. The result code stored
 * for Vexa_GetLastError: VEXA_OK, VEXA_NULL_ARGUMENT (no serialNumber),
 * VEXA_PATH_BUFFER_SHORT, VEXA_NO_MEMORY, VEXA_FAILED,
 * VEXA_NO_MATCHING_DEVICE, VEXA_OPEN_REFUSED, VEXA_DEVICE_IN_USE (no free
 * matching device carries the serial number and at least one matching device
 * is in use) or VEXA_SERIAL_NOT_PRESENT.
 */
VEXA_API VexaHandle Vexa_OpenBySN(uint32_t vid, uint32_t pid, const vexa_char16* serialNumber,
                                  vexa_char16* devicePath, uint32_t* devicePathSize);

/*
 * Closes the handle. Sends nothing to the chip. Results: VEXA_OK,
 * VEXA_NULL_ARGUMENT, VEXA_BAD_HANDLE (invalid or already closed) or
 * VEXA_CLOSE_REFUSED.
 */
VEXA_API int32_t Vexa_Close(VexaHandle handle);

/*
 * Sends the chip its reset command (no response is awaited) and closes the
 * handle; the chip restarts and enumerates anew. A failed write leaves the
 * handle open. Results: VEXA_OK, VEXA_NULL_ARGUMENT, VEXA_BAD_HANDLE,
 * VEXA_CLOSE_REFUSED, or the write's VEXA_REPORT_TIMEOUT or
 * VEXA_REPORT_IO_FAILED.
 */
VEXA_API int32_t Vexa_Reset(VexaHandle handle);

/* ---- SPI transfers and SPI settings ----------------------------------- */

/*
 * Runs one SPI transaction with the chip's current transfer settings:
 * sends txferSize bytes from txData while receiving as many into rxData.
 *  bitRate    in: wanted bit rate (0 keeps the chip's); out: rate in use
 *  txferSize  in: wanted transaction size, at most 0xFFFF: txData and rxData
 *             hold at least that many bytes. Above 0xFFFF the chip's size
 *             is kept, and the caller promises buffers of the chip's size
 *             (up to 0xFFFF bytes). out: size in use.
 *  csMask     bits 0-8: pins to designate as the only chip-select pins for
 *             this and later transfers (0: keep the designations). Unless
 *             bit 8 or bit 31 is set, or pin 8 serves its dedicated function
 *             or has its default-direction bit set, the chip settings are
 *             written again after the transfer.
 * A changed wanted rate or size is written to the chip's current settings.
 * On failure bitRate and txferSize keep the caller's values and rxData may be
 * partly written. The library never reads or writes beyond the wanted size:
 * a chip whose settings name a larger transaction (as read, or as it applied
 * the wanted size) gives VEXA_FAILED before any data moves.
 * A busy chip is asked again after 100000 / bitRate + 1 ms, never more than
 * VEXA_BUSY_PAUSE_LIMIT_MS, at most VEXA_TRANSFER_ROUNDS times: the busy
 * pauses of one call add up to at most VEXA_TRANSFER_ROUNDS *
 * VEXA_BUSY_PAUSE_LIMIT_MS ms, and beyond them the call gives
 * VEXA_TRANSFER_GAVE_UP. The whole call sends at most 5 settings commands
 * and txferSize / 60 + 1 + VEXA_TRANSFER_ROUNDS transfer chunks, each
 * exchange bounded by VEXA_REPORT_TIMEOUT_MS for its write and its read.
 * Results beyond the common ones: VEXA_FAILED (also an unexpected chunk
 * status or engine state, or a transaction larger than the buffers),
 * VEXA_SPI_SETTINGS_BUSY, VEXA_SPI_TRANSFER_REFUSED, VEXA_TRANSFER_GAVE_UP,
 * VEXA_TRANSFER_SHORT.
 */
VEXA_API int32_t Vexa_xferSpiData(VexaHandle handle, const uint8_t* txData, uint8_t* rxData,
                                  uint32_t* bitRate, uint32_t* txferSize, uint32_t csMask);

/*
 * Sets the chip's current SPI transfer settings (as Vexa_SetSpiConfig with
 * VEXA_CFG_CURRENT; the variables receive the settings the chip applied),
 * then runs one transaction with them (as Vexa_xferSpiData with csMask).
 * txData and rxData hold at least the wanted txferSize bytes; the transaction
 * has the size the chip applied, and a chip that applied a larger size than
 * the wanted one, or reports a larger size when the transfer starts, gives
 * VEXA_FAILED before any data moves (the variables then hold what the chip
 * applied). NULL txData or rxData gives VEXA_NULL_ARGUMENT before the handle
 * checks.
 * Results beyond the common ones: those of Vexa_SetSpiConfig with
 * VEXA_CFG_CURRENT (VEXA_BAD_ARGUMENT_VALUE, VEXA_SPI_SETTINGS_BUSY) and of
 * Vexa_xferSpiData.
 */
VEXA_API int32_t Vexa_xferSpiDataEx(VexaHandle handle, const uint8_t* txData, uint8_t* rxData,
                                    uint32_t* bitRate, uint32_t* txferSize, uint32_t csMask,
                                    uint32_t* idleCsValues, uint32_t* activeCsValues,
                                    uint32_t* delay1, uint32_t* delay2, uint32_t* delay3,
                                    uint8_t* spiMode);

/*
 * Reads the SPI transfer settings of `selector` (VEXA_CFG_CURRENT or
 * VEXA_CFG_POWERUP). Pin words have bit n for pin n. All pointers are out
 * values and required.
 * Results beyond the common ones: VEXA_BAD_ARGUMENT_VALUE (another selector).
 */
VEXA_API int32_t Vexa_GetSpiConfig(VexaHandle handle, uint8_t selector, uint32_t* bitRate,
                                   uint32_t* idleCsValues, uint32_t* activeCsValues,
                                   uint32_t* delay1, uint32_t* delay2, uint32_t* delay3,
                                   uint32_t* txferSize, uint8_t* spiMode);

/*
 * Writes the SPI transfer settings of `selector`. Of the CS value words only
 * the low 16 bits are sent. With VEXA_CFG_CURRENT the variables receive the
 * settings the chip applied; with VEXA_CFG_POWERUP they are left unchanged.
 * Results beyond the common ones: VEXA_BAD_ARGUMENT_VALUE (delays or
 * txferSize above 0xFFFF, spiMode above 3, another selector),
 * VEXA_SPI_SETTINGS_BUSY, VEXA_WRITE_BLOCKED (a protected power-up write).
 */
VEXA_API int32_t Vexa_SetSpiConfig(VexaHandle handle, uint8_t selector, uint32_t* bitRate,
                                   uint32_t* idleCsValues, uint32_t* activeCsValues,
                                   uint32_t* delay1, uint32_t* delay2, uint32_t* delay3,
                                   uint32_t* txferSize, uint8_t* spiMode);

/*
 * Cancels the running transfer in the chip; the two status bytes of its
 * answer are passed out unchanged. No results beyond the common ones.
 */
VEXA_API int32_t Vexa_CancelSpiTxfer(VexaHandle handle, uint8_t* statusByte2, uint8_t* statusByte3);

/*
 * Requests the release of the SPI bus; releaseValue is 0 or 1.
 * Results beyond the common ones: VEXA_BAD_ARGUMENT_VALUE (another value),
 * VEXA_BUS_RELEASE_BUSY.
 */
VEXA_API int32_t Vexa_RequestSpiBusRel(VexaHandle handle, uint8_t releaseValue);

/*
 * Reads the chip's status; bytes 2, 3 and 10 of its answer are passed out
 * unchanged. No results beyond the common ones.
 */
VEXA_API int32_t Vexa_GetSpiStatus(VexaHandle handle, uint8_t* statusByte2, uint8_t* statusByte3,
                                   uint8_t* statusByte10);

/* ---- GPIO, pin settings, USB key parameters and strings --------------- */

/*
 * Reads the pin configuration of `selector`: the designations of pins 0 to 8
 * (9 bytes, VexaPinDesignation), the default output levels and directions
 * (bit n = pin n) and the three fields of the settings byte. All pointers are
 * out values and required.
 * Results beyond the common ones: VEXA_BAD_ARGUMENT_VALUE (another selector).
 */
VEXA_API int32_t Vexa_GetGpioConfig(VexaHandle handle, uint8_t selector, uint8_t* pinDesignations,
                                    uint32_t* defaultOutputs, uint32_t* defaultDirections,
                                    uint8_t* settingsBit4, uint8_t* settingsBits1to3,
                                    uint8_t* settingsBit0);

/*
 * Writes the pin configuration of `selector`. Of the pin words only the low
 * 16 bits are sent. A power-up write keeps the chip's access-control state.
 * Results beyond the common ones: VEXA_BAD_ARGUMENT_VALUE (a designation above
 * 2, settingsBit4 or settingsBit0 above 1, settingsBits1to3 above 4, another
 * selector), VEXA_WRITE_BLOCKED (a protected power-up write).
 */
VEXA_API int32_t Vexa_SetGpioConfig(VexaHandle handle, uint8_t selector,
                                    const uint8_t* pinDesignations, uint32_t defaultOutputs,
                                    uint32_t defaultDirections, uint8_t settingsBit4,
                                    uint8_t settingsBits1to3, uint8_t settingsBit0);

/* Reads the current pin directions (bit n = pin n). No results beyond the
 * common ones. */
VEXA_API int32_t Vexa_GetGpioPinDir(VexaHandle handle, uint32_t* directions);

/* Sets the current pin directions (low 16 bits sent). No results beyond the
 * common ones. */
VEXA_API int32_t Vexa_SetGpioPinDir(VexaHandle handle, uint32_t directions);

/* Reads the current pin levels (bit n = pin n). No results beyond the common
 * ones. */
VEXA_API int32_t Vexa_GetGpioPinVal(VexaHandle handle, uint32_t* values);

/* Sets the pin levels (low 16 bits sent); newValues receives the levels the
 * chip reports after the change. No results beyond the common ones. */
VEXA_API int32_t Vexa_SetGpioPinVal(VexaHandle handle, uint32_t values, uint32_t* newValues);

/*
 * Reads the USB key parameters kept for start-up: vendor and product ID,
 * power attributes (bits 7 and 6 of bmAttributes), remote wake-up (0 or 1)
 * and maximum current in mA. All pointers are out values and required.
 * No results beyond the common ones.
 */
VEXA_API int32_t Vexa_GetUsbKeyParams(VexaHandle handle, uint16_t* vid, uint16_t* pid,
                                      uint8_t* powerAttributes, uint8_t* remoteWake,
                                      uint16_t* maxCurrent);

/*
 * Writes the USB key parameters kept for start-up. powerAttributes is 0x40,
 * 0x80 or 0xC0; remoteWake 0 or 1; maxCurrent 2 to 510 mA, kept by the chip in
 * 2 mA units (odd values are rounded up).
 * Results beyond the common ones: VEXA_BAD_ARGUMENT_VALUE (another value),
 * VEXA_WRITE_BLOCKED (a protected chip).
 */
VEXA_API int32_t Vexa_SetUsbKeyParams(VexaHandle handle, uint16_t vid, uint16_t pid,
                                      uint8_t powerAttributes, uint8_t remoteWake,
                                      uint16_t maxCurrent);

/*
 * Read a USB string kept for start-up into `text`, which holds at least
 * VEXA_MAX_STRING_CHARS + 1 characters.
 * Results beyond the common ones: VEXA_BAD_STRING_DESCRIPTOR (the chip's
 * answer is no well-formed string descriptor; `text` is left unchanged).
 */
VEXA_API int32_t Vexa_GetManufacturerString(VexaHandle handle, vexa_char16* text);
VEXA_API int32_t Vexa_GetProductString(VexaHandle handle, vexa_char16* text);
VEXA_API int32_t Vexa_GetSerialNumber(VexaHandle handle, vexa_char16* text);

/*
 * Write a USB string kept for start-up.
 * Results beyond the common ones: VEXA_STRING_TOO_LONG (more than
 * VEXA_MAX_STRING_CHARS characters), VEXA_WRITE_BLOCKED (a protected chip).
 */
VEXA_API int32_t Vexa_SetManufacturerString(VexaHandle handle, const vexa_char16* text);
VEXA_API int32_t Vexa_SetProductString(VexaHandle handle, const vexa_char16* text);

/* ---- EEPROM, interrupt counter and access control --------------------- */

/* Reads the user EEPROM byte at `address`. No results beyond the common ones
 * (an answer for another address is VEXA_ECHO_MISMATCH). */
VEXA_API int32_t Vexa_ReadEEProm(VexaHandle handle, uint8_t address, uint8_t* value);

/* Writes the user EEPROM byte at `address`. Results beyond the common ones:
 * VEXA_EEPROM_WRITE_REFUSED, VEXA_WRITE_BLOCKED; the byte is then unchanged. */
VEXA_API int32_t Vexa_WriteEEProm(VexaHandle handle, uint8_t address, uint8_t value);

/* Reads the interrupt event counter; resetSelector is passed to the chip,
 * which decides whether and how the counter is reset. No results beyond the
 * common ones. */
VEXA_API int32_t Vexa_GetInterruptCount(VexaHandle handle, uint32_t* count, uint8_t resetSelector);

/* Reads the access-control state of the power-up settings (VexaAccessControl)
 * and two status bytes of the chip, passed out unchanged. No results beyond
 * the common ones. */
VEXA_API int32_t Vexa_GetAccessCtrlStatus(VexaHandle handle, uint8_t* accessControl,
                                          uint8_t* statusByte4, uint8_t* statusByte5);

/*
 * Enters the password (exactly VEXA_PASSWORD_CHARS 8-bit characters and a
 * terminating zero) so that protected power-up writes are accepted.
 * Results beyond the common ones: VEXA_BAD_ARGUMENT_VALUE (another length),
 * VEXA_PASSWORD_REFUSED, VEXA_PASSWORD_BLOCKED, VEXA_ACCESS_LOCKED.
 */
VEXA_API int32_t Vexa_EnterPassword(VexaHandle handle, const char* password);

/*
 * Changes the protection of the power-up settings, by `mode`:
 *  VEXA_AC_OPEN             remove it (enters currentPassword first; nothing
 *                           is written when the chip is open already)
 *  VEXA_AC_PASSWORD         enable it with newPassword
 *  VEXA_AC_CHANGE_PASSWORD  enter currentPassword, then set newPassword
 * Passwords as for Vexa_EnterPassword; the library stores none.
 * Results beyond the common ones: VEXA_BAD_ARGUMENT_VALUE (another mode, a
 * password of another length), VEXA_ACCESS_LOCKED (a locked chip),
 * VEXA_PROTECTION_ALREADY_ON (VEXA_AC_PASSWORD on a protected chip),
 * VEXA_PROTECTION_NOT_ON (VEXA_AC_CHANGE_PASSWORD on an open chip), the
 * password entry's VEXA_PASSWORD_REFUSED and VEXA_PASSWORD_BLOCKED, and the
 * write's VEXA_WRITE_BLOCKED.
 */
VEXA_API int32_t Vexa_SetAccessControl(VexaHandle handle, uint8_t mode, const char* currentPassword,
                                       const char* newPassword);

/* Locks the power-up settings for good; this cannot be undone. Results beyond
 * the common ones: VEXA_ACCESS_LOCKED (locked already), VEXA_WRITE_BLOCKED. */
VEXA_API int32_t Vexa_SetPermanentLock(VexaHandle handle);

#ifdef __cplusplus
}
#endif

#endif /* VEXALIB_H */

#pragma once

// The chip's wire protocol: the command codes (offset 0 of a command and of
// its response), the power-up records named by the sub-command of 0x60 and
// 0x61, the status bytes of a response (offset 1) and the engine states of a
// transfer chunk's answer. Callers of the library never see these; the
// records that the commands carry are in SettingsRecords.h.

// Engine states reported by the chip in answer to a transfer chunk.
enum VexaTransferState {
    VEXA_XFER_FINISHED = 0x10,  // the transaction has ended
    VEXA_XFER_STARTED = 0x20,   // the chunk was taken, no received data yet
    VEXA_XFER_DATA_READY = 0x30 // the chunk was taken and received data is attached
};

// Chip status bytes other than 0x00 (success).
enum VexaChipStatus {
    VEXA_ST_TRANSFER_REFUSED = 0xF7,
    VEXA_ST_BUSY = 0xF8,
    VEXA_ST_EEPROM_REFUSED = 0xFA,
    VEXA_ST_BLOCKED = 0xFB,
    VEXA_ST_LOCKED = 0xFC,
    VEXA_ST_PASSWORD_REFUSED = 0xFD
};

// Command codes of the chip (offset 0 of a command and of its response).
enum VexaCommand {
    VEXA_CMD_STATUS = 0x10,
    VEXA_CMD_CANCEL_TRANSFER = 0x11,
    VEXA_CMD_INTERRUPT_COUNT = 0x12,
    VEXA_CMD_GET_CHIP_SETTINGS = 0x20,
    VEXA_CMD_SET_CHIP_SETTINGS = 0x21,
    VEXA_CMD_SET_PIN_VALUES = 0x30,
    VEXA_CMD_GET_PIN_VALUES = 0x31,
    VEXA_CMD_SET_PIN_DIRECTIONS = 0x32,
    VEXA_CMD_GET_PIN_DIRECTIONS = 0x33,
    VEXA_CMD_SET_SPI_SETTINGS = 0x40,
    VEXA_CMD_GET_SPI_SETTINGS = 0x41,
    VEXA_CMD_SPI_TRANSFER = 0x42,
    VEXA_CMD_READ_EEPROM = 0x50,
    VEXA_CMD_WRITE_EEPROM = 0x51,
    VEXA_CMD_WRITE_NVRAM = 0x60,
    VEXA_CMD_READ_NVRAM = 0x61,
    VEXA_CMD_SEND_PASSWORD = 0x70,
    VEXA_CMD_BUS_RELEASE = 0x80,
    VEXA_CMD_RESET = 0xF0
};

/* Sub-commands of VEXA_CMD_WRITE_NVRAM and VEXA_CMD_READ_NVRAM (offset 1 of
 * the command, offset 2 of the response): the power-up records. */
enum VexaNvramRecord {
    VEXA_NV_SPI_SETTINGS = 0x10,
    VEXA_NV_CHIP_SETTINGS = 0x20,
    VEXA_NV_USB_KEY = 0x30,
    VEXA_NV_PRODUCT_NAME = 0x40,
    VEXA_NV_MANUFACTURER_NAME = 0x50,
    VEXA_NV_SERIAL_NUMBER = 0x60
};

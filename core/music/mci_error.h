#pragma once

#include <cstdint>

namespace blok {

// MCI error numbers: the low 16 bits of every command result; 0 means success.
inline constexpr std::uint32_t MCIERR_INVALID_DEVICE_ID = 257;
inline constexpr std::uint32_t MCIERR_UNRECOGNIZED_COMMAND = 261;
inline constexpr std::uint32_t MCIERR_HARDWARE = 262;
inline constexpr std::uint32_t MCIERR_INVALID_DEVICE_NAME = 263;
inline constexpr std::uint32_t MCIERR_OUT_OF_MEMORY = 264;
inline constexpr std::uint32_t MCIERR_DEVICE_OPEN = 265;
inline constexpr std::uint32_t MCIERR_CANNOT_LOAD_DRIVER = 266;
inline constexpr std::uint32_t MCIERR_DRIVER_INTERNAL = 272;
inline constexpr std::uint32_t MCIERR_MISSING_PARAMETER = 273;
inline constexpr std::uint32_t MCIERR_UNSUPPORTED_FUNCTION = 274;
inline constexpr std::uint32_t MCIERR_FILE_NOT_FOUND = 275;
inline constexpr std::uint32_t MCIERR_DEVICE_NOT_READY = 276;
inline constexpr std::uint32_t MCIERR_INTERNAL = 277;
inline constexpr std::uint32_t MCIERR_DRIVER = 278;
inline constexpr std::uint32_t MCIERR_CANNOT_USE_ALL = 279;
inline constexpr std::uint32_t MCIERR_MULTIPLE = 280;
inline constexpr std::uint32_t MCIERR_EXTENSION_NOT_FOUND = 281;
inline constexpr std::uint32_t MCIERR_OUTOFRANGE = 282;
inline constexpr std::uint32_t MCIERR_FLAGS_NOT_COMPATIBLE = 284;
inline constexpr std::uint32_t MCIERR_FILE_NOT_SAVED = 286;
inline constexpr std::uint32_t MCIERR_DEVICE_TYPE_REQUIRED = 287;
inline constexpr std::uint32_t MCIERR_DEVICE_LOCKED = 288;
inline constexpr std::uint32_t MCIERR_DUPLICATE_ALIAS = 289;
inline constexpr std::uint32_t MCIERR_MUST_USE_SHAREABLE = 291;
inline constexpr std::uint32_t MCIERR_BAD_TIME_FORMAT = 293;
inline constexpr std::uint32_t MCIERR_INVALID_FILE = 296;
inline constexpr std::uint32_t MCIERR_NULL_PARAMETER_BLOCK = 297;
inline constexpr std::uint32_t MCIERR_UNNAMED_RESOURCE = 298;
inline constexpr std::uint32_t MCIERR_NO_ELEMENT_ALLOWED = 301;
inline constexpr std::uint32_t MCIERR_NONAPPLICABLE_FUNCTION = 302;
inline constexpr std::uint32_t MCIERR_ILLEGAL_FOR_AUTO_OPEN = 303;
inline constexpr std::uint32_t MCIERR_FILENAME_REQUIRED = 304;
inline constexpr std::uint32_t MCIERR_EXTRA_CHARACTERS = 305;
inline constexpr std::uint32_t MCIERR_DEVICE_NOT_INSTALLED = 306;
inline constexpr std::uint32_t MCIERR_GET_CD = 307;
inline constexpr std::uint32_t MCIERR_SET_CD = 308;
inline constexpr std::uint32_t MCIERR_SET_DRIVE = 309;
inline constexpr std::uint32_t MCIERR_DEVICE_LENGTH = 310;
inline constexpr std::uint32_t MCIERR_DEVICE_ORD_LENGTH = 311;
inline constexpr std::uint32_t MCIERR_NO_INTEGER = 312;
inline constexpr std::uint32_t MCIERR_NO_WINDOW = 346;
inline constexpr std::uint32_t MCIERR_CREATEWINDOW = 347;
inline constexpr std::uint32_t MCIERR_FILE_READ = 348;
inline constexpr std::uint32_t MCIERR_FILE_WRITE = 349;

// The English sentence for an MCI error number; "Unknown error code." for any other number.
// The texts are constants that live for the whole run.
const char* GetError(std::uint16_t error);

}  // namespace blok

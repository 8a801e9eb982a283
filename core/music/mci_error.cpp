#include "mci_error.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace blok {
namespace {

struct ErrorText {
    std::uint16_t code;
    const char* text;
};

// Sorted by code. Each text is kept character for character, slips and double blanks included.
constexpr std::array kErrorTexts = std::to_array<ErrorText>({
    {257, "Invalid device ID."},
    {261, "The driver cannot recognize the specified command."},
    {262, "The specified device exhibits a problem."},
    {263, "The specified device is not open nor recognized by MCI."},
    {264, "Your system does not have enough memory for this task."},
    {265, "The device name is already being used as an alias."},
    {266, "The specified device driver will not load properly"},
    {272, "The device driver exhibits a problem. (internal)"},
    {273, "The specified command requires a missing parameter."},
    {274, "The MCI device driver the system is using does not support the command."},
    {275, "The requested file was not found."},
    {276, "The device driver is not ready."},
    {277, "A problem occurred in initializing."},
    {278, "The device driver exhibits a problem."},
    {279, "The device name \"all\" is not allowed for this command."},
    {280, "Errors occurred in more than one device."},
    {281, "The specified extension has no device type associated with it."},
    {282, "The specified parameter value is out of rage for the specified MCI command."},
    {284, "The specified parameters cannot be used together."},
    {286, "The file was not saved."},
    {287, "The specified device cannot be found on the system."},
    {288, "The device is now being closed.  Wait a few seconds."},
    {289, "The specified alias is already used in this application."},
    {291, "The device driver is already in use.  Specify \"shareable\"."},
    {293, "The specified value for the time format is invalid."},
    {296, "The specified file cannot be played on the specified MCI device."},
    {297, "A null parameter block (structure) was passed to MCI."},
    {298, "You cannot store an unnamed file."},
    {301, "The specified device does not use a filename."},
    {302, "The specified MCI command sequence cannot be performed in the given order."},
    {303, "MCI will not perform the specified command on an automatically opened device."},
    {304, "The filename is invalid."},
    {305, "You must enclose a string with quotation marks."},
    {306, "The specified device is not installed on the system."},
    {307, "The requested file OR MCI device was not found."},
    {308, "The application cannot change directories"},
    {309, "The application cannot change drives."},
    {310, "The device or driver name is too long."},
    {311, "The device or driver name is too long."},
    {312, "The parameter for this MCI command must be an integer value."},
    {346, "There is no display window."},
    {347, "Could not create or use window."},
    {348, "A read from the file failed."},
    {349, "A write to the file failed."},
});

}  // namespace

const char* GetError(std::uint16_t error) {
    const auto found =
        std::lower_bound(kErrorTexts.begin(), kErrorTexts.end(), error,
                         [](const ErrorText& e, std::uint16_t c) { return e.code < c; });
    if (found == kErrorTexts.end() || found->code != error) return "Unknown error code.";
    return found->text;
}

}  // namespace blok

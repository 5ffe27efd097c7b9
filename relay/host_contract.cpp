#include "host_contract.h"

namespace {

// Decimal text of a number, as "%d" prints it. Built here rather than with std::to_wstring, which
// brings the C runtime's whole formatted printing into the relay for three numbers.
std::wstring decimal(int32_t value) {
    // Unsigned, so that the magnitude of -2147483648 fits.
    uint32_t magnitude = value < 0 ? 0u - uint32_t(value) : uint32_t(value);
    wchar_t digits[12];
    size_t start = sizeof digits / sizeof digits[0];
    do {
        digits[--start] = wchar_t(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) digits[--start] = L'-';
    return std::wstring(digits + start, sizeof digits / sizeof digits[0] - start);
}

}  // namespace

std::wstring hostWindowTitle(int32_t hostNumber) {
    return L"Velvox YT (" + decimal(hostNumber) + L")";
}

std::wstring mailboxName(int32_t hostNumber, int32_t jobNumber) {
    return L"velvox_" + decimal(hostNumber) + L"_" + decimal(jobNumber);
}

std::wstring consoleTitle(int32_t hostNumber, int32_t jobNumber) {
    return L"VelvoxDownload (" + decimal(hostNumber) + L") " + decimal(jobNumber);
}

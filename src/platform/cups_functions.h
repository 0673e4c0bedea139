// The libcups functions the print system calls, reached through a small module
// (clinora_cups) loaded when the program first asks the print server something: libcups
// and what it brings (GnuTLS, Kerberos, Avahi) stay out of every ordinary start.
#pragma once

#include <cstddef>
#include <cups/cups.h>

namespace clinora::cups {

struct Functions
{
    std::size_t size; // sizeof(Functions) of the module: a module of another build is refused
    decltype(&httpConnect2) connect;
    decltype(&httpClose) close;
    decltype(&cupsServer) server;
    decltype(&ippPort) port;
    decltype(&cupsEncryption) encryption;
    decltype(&cupsLastError) lastError;
    decltype(&cupsLastErrorString) lastErrorString;
    decltype(&cupsGetOption) getOption;
    decltype(&cupsGetNamedDest) getNamedDest;
    decltype(&cupsGetDests2) getDests;
    decltype(&cupsFreeDests) freeDests;
    decltype(&cupsAddOption) addOption;
    decltype(&cupsFreeOptions) freeOptions;
    decltype(&cupsPrintFile2) printFile;
};

} // namespace clinora::cups

// The one symbol the module exports.
extern "C" const clinora::cups::Functions *clinora_cups();

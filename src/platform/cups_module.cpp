// The module that links libcups: it hands the print system libcups's functions.
#include "platform/cups_functions.h"

extern "C" __attribute__((visibility("default"))) const clinora::cups::Functions *clinora_cups()
{
    static const clinora::cups::Functions functions{sizeof(clinora::cups::Functions),
                                                    &httpConnect2,
                                                    &httpClose,
                                                    &cupsServer,
                                                    &ippPort,
                                                    &cupsEncryption,
                                                    &cupsLastError,
                                                    &cupsLastErrorString,
                                                    &cupsGetOption,
                                                    &cupsGetNamedDest,
                                                    &cupsGetDests2,
                                                    &cupsFreeDests,
                                                    &cupsAddOption,
                                                    &cupsFreeOptions,
                                                    &cupsPrintFile2};
    return &functions;
}

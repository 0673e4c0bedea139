// The few pxlib functions the reader of old Paradox tables calls, reached through a
// small module (clinora_paradox) that is loaded only when an old table is read: pxlib
// and the libraries it brings (GLib, libgsf, libxml2) stay out of every ordinary start.
#pragma once

// pxlib's header declares C functions without saying so.
extern "C" {
#include <paradox.h>
}

#include <cstddef>

namespace clinora::paradox {

struct PxLib
{
    std::size_t size; // sizeof(PxLib) of the module: a module of another build is refused
    decltype(&PX_boot) boot;
    decltype(&PX_new3) create;
    decltype(&PX_open_file) openFile;
    decltype(&PX_close) close;
    decltype(&PX_delete) destroy;
    decltype(&PX_get_num_records) numRecords;
    decltype(&PX_get_num_fields) numFields;
    decltype(&PX_get_fields) fields;
    decltype(&PX_get_recordsize) recordSize;
    decltype(&PX_get_record) record;
    decltype(&PX_get_data_alpha) dataAlpha;
    decltype(&PX_get_data_short) dataShort;
    decltype(&PX_get_data_long) dataLong;
};

} // namespace clinora::paradox

// The one symbol the module exports.
extern "C" const clinora::paradox::PxLib *clinora_pxlib();

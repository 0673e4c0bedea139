// The module that links pxlib: it hands the reader of old tables pxlib's functions.
#include "store/pxlib.h"

extern "C" __attribute__((visibility("default"))) const clinora::paradox::PxLib *clinora_pxlib()
{
    static const clinora::paradox::PxLib lib{sizeof(clinora::paradox::PxLib),
                                             &PX_boot,
                                             &PX_new3,
                                             &PX_open_file,
                                             &PX_close,
                                             &PX_delete,
                                             &PX_get_num_records,
                                             &PX_get_num_fields,
                                             &PX_get_fields,
                                             &PX_get_recordsize,
                                             &PX_get_record,
                                             &PX_get_data_alpha,
                                             &PX_get_data_short,
                                             &PX_get_data_long};
    return &lib;
}

#include "facebook_data_saver.h"

#include "log_system.h"

void FacebookDataSaver::save()
{
    VQ::log("FacebookDataSaver::save: no social data to write");
}

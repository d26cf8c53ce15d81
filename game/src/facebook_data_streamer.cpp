#include "facebook_data_streamer.h"

FacebookDataStreamer::~FacebookDataStreamer()
{
    if (started && !stopRequested)
        stopRequested = true;
    started = false;
}

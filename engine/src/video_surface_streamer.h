#pragma once
// Decodes the frames of the playing videos on a thread of its own and hands
// them to the main thread for upload.

#include "singleton.h"

namespace VQ {

class VideoSurfaceStreamer : public Singleton<VideoSurfaceStreamer> {
public:
    VideoSurfaceStreamer() = default;
};

}  // namespace VQ

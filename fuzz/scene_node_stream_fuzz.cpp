// Reads arbitrary bytes as the saved form of a group node, then plays what
// was read for a frame and writes it again. A stream that runs out or
// promises more than it holds is the fatal report, turned into an exception
// here so that the run goes on.

#include <cstdint>
#include <vector>

#include "animationeditor/scene_node.h"
#include "animationeditor/vector_stream.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::enterScratchFolder("lanterra-scene-stream-fuzz");
    FuzzSupport::startSilentLog();
    VQ::setFatalErrorHook(FuzzSupport::throwOnFatal);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    AE::VectorStream in(bytes);
    AE::ISceneNode node;
    try {
        node.load(in);
    } catch (const FuzzSupport::FatalRaised&) {
        return 0;
    }
    node.play(false);
    AE::ISceneNode::update(&node, 1.0f / 60.0f);
    std::vector<uint8_t> again;
    AE::VectorStream out(again);
    node.save(out, false);
    return 0;
}

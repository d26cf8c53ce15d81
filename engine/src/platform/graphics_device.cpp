#include "graphics_device.h"

namespace VQ {

uint32_t defaultRenderState(RenderState state)
{
    switch (state) {
    case RenderState::CullMode:
        return uint32_t(Cull::CCW);
    case RenderState::Lighting:
    case RenderState::ZEnable:
    case RenderState::ZWriteEnable:
        return 1;
    case RenderState::SrcBlend:
        return uint32_t(Blend::One);
    case RenderState::DestBlend:
        return uint32_t(Blend::Zero);
    case RenderState::AlphaFunc:
    case RenderState::StencilFunc:
        return uint32_t(Cmp::Always);
    case RenderState::StencilMask:
    case RenderState::StencilWriteMask:
        return 0xFFFFFFFFu;
    case RenderState::StencilFail:
    case RenderState::StencilZFail:
    case RenderState::StencilPass:
        return uint32_t(StencilOp::Keep);
    case RenderState::ColorWriteEnable:
        return 0xF;
    case RenderState::FillMode:
        return uint32_t(Fill::Solid);
    default:
        return 0;
    }
}

uint32_t defaultStageState(uint32_t stage, StageState state)
{
    switch (state) {
    case StageState::ColorOp:
        return uint32_t(stage == 0 ? TextureOp::Modulate : TextureOp::Disable);
    case StageState::AlphaOp:
        return uint32_t(stage == 0 ? TextureOp::SelectArg1 : TextureOp::Disable);
    case StageState::ColorArg1:
    case StageState::AlphaArg1:
        return uint32_t(TextureArg::Texture);
    case StageState::ColorArg2:
    case StageState::AlphaArg2:
        return uint32_t(TextureArg::Current);
    case StageState::AddressU:
    case StageState::AddressV:
    case StageState::AddressW:
        return uint32_t(Address::Wrap);
    case StageState::MinFilter:
    case StageState::MagFilter:
        return uint32_t(Filter::Point);
    default:
        return uint32_t(Filter::None);
    }
}

static bool isBlockFormat(GfxFormat format)
{
    return format == GfxFormat::DXT1 || format == GfxFormat::DXT3 || format == GfxFormat::DXT5;
}

uint32_t formatPitch(GfxFormat format, uint32_t width)
{
    switch (format) {
    case GfxFormat::DXT1:
        return ((width + 3) / 4) * 8;
    case GfxFormat::DXT3:
    case GfxFormat::DXT5:
        return ((width + 3) / 4) * 16;
    case GfxFormat::L8:
        return width;
    case GfxFormat::A8L8:
    case GfxFormat::D16:
        return width * 2;
    default:
        return width * 4;
    }
}

uint32_t formatRows(GfxFormat format, uint32_t height)
{
    return isBlockFormat(format) ? (height + 3) / 4 : height;
}

void GfxTexture::noteUpload(const uint8_t* pixels, size_t bytes)
{
    // Block formats are taken as translucent rather than decoded.
    size_t alphaAt = 0, step = 0;
    if (mFormat == GfxFormat::A8R8G8B8) {
        alphaAt = 3;
        step = 4;
    } else if (mFormat == GfxFormat::A8L8) {
        alphaAt = 1;
        step = 2;
    } else {
        mOpaque = mRenderTarget || mFormat == GfxFormat::X8R8G8B8 || mFormat == GfxFormat::L8;
        return;
    }
    mOpaque = pixels != nullptr;
    for (size_t i = alphaAt; mOpaque && i < bytes; i += step)
        mOpaque = pixels[i] == 0xFF;
}

}  // namespace VQ

namespace VQ {

void DeviceStateBlock::setDefaults()
{
    for (uint32_t i = 0; i < uint32_t(RenderState::Count); ++i)
        render[i] = defaultRenderState(RenderState(i));
    for (uint32_t st = 0; st < MAX_TEXTURE_STAGES; ++st)
        for (uint32_t i = 0; i < uint32_t(StageState::Count); ++i)
            stage[st][i] = defaultStageState(st, StageState(i));
}

}  // namespace VQ

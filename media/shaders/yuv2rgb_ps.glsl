// Video colour conversion, pixel part: Y from the luma texture (stage 0), U
// from the luminance and V from the alpha of the chroma texture (stage 1),
// to RGB with the same factors as the processor path (175, 44, 91 and 226
// over 128), opaque.
vec4 vq_shade()
{
    float y = texture(vq_tex0, vq_texcoord0).r;
    vec4 chroma = texture(vq_tex1, vq_texcoord1);
    float u = chroma.r - 128.0 / 255.0;
    float v = chroma.a - 128.0 / 255.0;
    vec3 rgb = vec3(y + 1.3671875 * v, y - 0.34375 * u - 0.7109375 * v, y + 1.765625 * u);
    return vec4(clamp(rgb, 0.0, 1.0), 1.0);
}

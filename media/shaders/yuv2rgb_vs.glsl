// Video colour conversion, vertex part: the position through the transform in
// c0..c3 (one column of the row-vector matrix each), and the luma coordinate
// for both textures. The chroma texture covers the frame at half the size of
// the luma one, so the same normalised coordinate lands on the matching
// chroma texel exactly; the vertex colour carries it too, but only to steps
// of 1/255, which would misplace chroma by up to a texel.
void main()
{
    vec4 p = vec4(a_position, 1.0);
    vec4 clipPosition = vec4(dot(p, vq_c[0]), dot(p, vq_c[1]), dot(p, vq_c[2]), dot(p, vq_c[3]));
    vq_color = a_color;
    vq_texcoord0 = a_texcoord;
    vq_texcoord1 = a_texcoord;
    gl_Position = vq_output(clipPosition);
}

// Video colour conversion, vertex part: the position through the transform in
// c0..c3 (one column of the row-vector matrix each), the luma coordinate
// as given, and the chroma coordinate carried in the vertex colour's red and
// green.
void main()
{
    vec4 p = vec4(a_position, 1.0);
    vec4 clipPosition = vec4(dot(p, vq_c[0]), dot(p, vq_c[1]), dot(p, vq_c[2]), dot(p, vq_c[3]));
    vq_color = a_color;
    vq_texcoord0 = a_texcoord;
    vq_texcoord1 = a_color.rg;
    gl_Position = vq_output(clipPosition);
}

#version 110
// A view of the normals, fragment stage: x, y and z from -1..1 shown as red,
// green and blue from 0..1, so +x is red, +y green and +z blue.

varying vec3 objectNormal;

void main()
{
    gl_FragColor = vec4(normalize(objectNormal) * 0.5 + 0.5, 1.0);
}

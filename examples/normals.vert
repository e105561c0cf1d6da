#version 110
// A view of the normals, vertex stage. gl_Normal is in object space, so the
// colours stay on the surface however the camera moves.

varying vec3 objectNormal;

void main()
{
    objectNormal = gl_Normal;
    gl_Position = ftransform();
}

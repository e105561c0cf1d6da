#version 110
// Per-pixel Phong lighting, vertex stage: hands the fragment stage the
// eye-space position and normal, where OpenGL keeps the light's position.

varying vec3 eyePosition;
varying vec3 eyeNormal;

void main()
{
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    eyePosition = eye.xyz / eye.w;
    eyeNormal = gl_NormalMatrix * gl_Normal;
    gl_FrontColor = gl_Color;
    gl_Position = ftransform();
}

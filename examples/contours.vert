#version 110
// Height contours, vertex stage: the height of each vertex above the ground
// plane y = 0, in the world, from the one uniform the viewer sets.

// The camera's eye in world coordinates, set by the viewer every frame.
uniform vec3 CAMERA_POSITION;

varying float worldHeight;
varying vec3 eyeNormal;

void main()
{
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    vec3 eyePosition = eye.xyz / eye.w;

    // gl_Vertex is in object space: each object stands at an offset and the
    // scene turns about the world's y axis. Neither moves the y direction,
    // so the modelview carries (0, 1, 0) to the world's up in eye space.
    // The eye sits at CAMERA_POSITION, so a point's height is the camera's
    // height plus how far above the eye the point lies along that up.
    vec3 worldUp = normalize((gl_ModelViewMatrix * vec4(0.0, 1.0, 0.0, 0.0)).xyz);
    worldHeight = CAMERA_POSITION.y + dot(worldUp, eyePosition);

    eyeNormal = gl_NormalMatrix * gl_Normal;
    gl_FrontColor = gl_Color;
    gl_Position = ftransform();
}

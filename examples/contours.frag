#version 110
// Height contours, fragment stage: colour from the ground up, with a dark
// line every kSpacing units of world height, as thin on screen at any
// distance. The lines sit half a spacing off the ground, so the grid, drawn
// at height 0 through this program too, stays clear of them.

varying float worldHeight;
varying vec3 eyeNormal;

const float kSpacing = 0.1;

void main()
{
    float steps = worldHeight / kSpacing + 0.5;
    // Distance to the nearest contour, in pixels: the change of `steps`
    // from one pixel to the next turns it into screen units.
    float pixels = abs(fract(steps + 0.5) - 0.5) / max(fwidth(steps), 0.0001);
    float line = 1.0 - smoothstep(0.3, 1.0, pixels);

    vec3 low = vec3(0.2, 0.45, 0.3);
    vec3 high = vec3(0.95, 0.85, 0.6);
    vec3 band = mix(low, high, clamp(worldHeight / 0.7, 0.0, 1.0));
    // A little shading from the eye, so the shapes read.
    float facing = abs(normalize(eyeNormal).z);
    vec3 colour = band * (0.75 + 0.25 * facing);

    gl_FragColor = vec4(mix(colour, vec3(0.1), line), 1.0);
}

#version 110
// Gooch shading, fragment stage: a technical-illustration look in which the
// side facing light 0 turns warm and the side away from it cool, so that the
// shape reads even where a lit surface would be dark.

varying vec3 eyePosition;
varying vec3 eyeNormal;

// The classic choice: blue and yellow, each with a share of the surface's
// own colour.
const vec3 kCool = vec3(0.0, 0.0, 0.55);
const vec3 kWarm = vec3(0.45, 0.4, 0.0);

void main()
{
    vec3 normal = normalize(eyeNormal);
    vec4 light = gl_LightSource[0].position;
    vec3 toLight = normalize(light.xyz - eyePosition * light.w);
    vec3 toEye = normalize(-eyePosition);

    // -1 facing away from the light, 1 facing it, mapped to 0..1.
    float warmth = 0.5 + 0.5 * dot(normal, toLight);
    vec3 cool = kCool + 0.2 * gl_Color.rgb;
    vec3 warm = kWarm + 0.6 * gl_Color.rgb;
    vec3 colour = mix(cool, warm, warmth);

    float highlight = pow(max(dot(reflect(-toLight, normal), toEye), 0.0), 40.0);
    gl_FragColor = vec4(min(colour + highlight, 1.0), gl_Color.a);
}

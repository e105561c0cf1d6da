#version 110
// Per-pixel Phong lighting, fragment stage: ambient, diffuse and a white
// highlight from light 0, on the current colour (grey for the objects).

varying vec3 eyePosition;
varying vec3 eyeNormal;

const float kShininess = 40.0;

void main()
{
    vec3 normal = normalize(eyeNormal);
    vec4 light = gl_LightSource[0].position;
    vec3 toLight = normalize(light.xyz - eyePosition * light.w);
    vec3 toEye = normalize(-eyePosition);

    float diffuse = max(dot(normal, toLight), 0.0);
    vec3 reflected = reflect(-toLight, normal);
    float specular = diffuse > 0.0 ? pow(max(dot(reflected, toEye), 0.0), kShininess) : 0.0;

    vec3 colour = gl_Color.rgb * (gl_LightSource[0].ambient.rgb + gl_LightSource[0].diffuse.rgb * diffuse)
                + gl_LightSource[0].specular.rgb * specular * 0.6;
    gl_FragColor = vec4(colour, gl_Color.a);
}

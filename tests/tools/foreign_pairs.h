// Small shader pairs in the styles found online, which do not fit the
// viewer as written: shared by the check's and the shot's tables.
#pragma once

struct ForeignPair {
    const char* vertex;
    const char* fragment;
};

// WebGL: a precision statement, its own attributes and matrices.
const ForeignPair kEsPair = {
    "attribute vec4 aVertexPosition;\nuniform mat4 uModelViewMatrix;\nuniform mat4 uProjectionMatrix;\n"
    "void main() { gl_Position = uProjectionMatrix * uModelViewMatrix * aVertexPosition; }\n",
    "precision mediump float;\nvoid main() { gl_FragColor = vec4(1.0, 0.5, 0.0, 1.0); }\n"};

// A core-profile tutorial: compiles and links, draws nothing.
const ForeignPair kCorePair = {
    "#version 330 core\nlayout(location = 0) in vec3 aPos;\nuniform mat4 model, view, projection;\n"
    "void main() { gl_Position = projection * view * model * vec4(aPos, 1.0); }\n",
    "#version 330 core\nout vec4 FragColor;\nvoid main() { FragColor = vec4(1.0, 0.5, 0.2, 1.0); }\n"};

// Desktop GLSL 1.20 with the program's own attributes and matrix.
const ForeignPair kTutorialPair = {
    "#version 120\nattribute vec3 aPosition;\nuniform mat4 uMVP;\n"
    "void main() { gl_Position = uMVP * vec4(aPosition, 1.0); }\n",
    "#version 120\nvoid main() { gl_FragColor = vec4(1.0, 0.5, 0.2, 1.0); }\n"};

// GLSL 1.10 has no int-to-float conversion.
const ForeignPair kIntToFloatPair = {
    "void main() { gl_Position = ftransform(); }\n",
    "#version 110\nuniform float uRoughness;\nvoid main()\n{\n    float k = pow(1 / uRoughness, 2.0);\n"
    "    gl_FragColor = vec4(k);\n}\n"};

// The fragment stage reads a varying the vertex stage never writes.
const ForeignPair kVaryingMismatchPair = {
    "void main() { gl_Position = ftransform(); }\n",
    "varying vec3 normal;\nvoid main() { gl_FragColor = vec4(normal, 1.0); }\n"};

// Blinn-Phong taking the light's position for its direction.
const ForeignPair kLightAsDirectionPair = {
    "varying vec3 normal, lightDir;\nvoid main()\n{\n    normal = gl_NormalMatrix * gl_Normal;\n"
    "    lightDir = gl_LightSource[0].position.xyz;\n    gl_Position = ftransform();\n}\n",
    "varying vec3 normal, lightDir;\nvoid main()\n{\n"
    "    float d = max(dot(normalize(normal), normalize(lightDir)), 0.0);\n"
    "    gl_FragColor = vec4(vec3(d), 1.0);\n}\n"};

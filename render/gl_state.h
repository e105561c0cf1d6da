// Viewport and perspective projection that follow the window's client area.
#pragma once

// The standing state every drawing step relies on: depth testing and
// lighting on, the grey background, and the viewport and perspective of a
// width x height client area with GL_MODELVIEW current.
void initGLState(int width, int height);

// Clears colour and depth to start a frame.
void clearFrame();

// Ignores a height of 0 (a minimised window); otherwise sets the viewport and
// a 60-degree perspective of aspect width / height.
void reshape(int width, int height);

// Viewport and perspective projection that follow the window's client area.
#pragma once

// Ignores a height of 0 (a minimised window); otherwise sets the viewport and
// a 60-degree perspective of aspect width / height.
void reshape(int width, int height);

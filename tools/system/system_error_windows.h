// The system's own text for a Windows error code, on one line.
#pragma once

#include <windows.h>

#include <string>

std::string systemMessage(DWORD error);

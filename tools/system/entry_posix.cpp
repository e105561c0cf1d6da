#include "tools/system/entry.h"

int main(int argc, char** argv) { return toolMain(argc, argv); }

// Windows hands a console program its command line in the ANSI code page,
// which cannot hold every letter of a path (a Cyrillic name on a Western
// system); the wide command line holds them all. Linked with -municode.
#include "tools/system/entry.h"
#include "tools/system/text_encoding.h"

int wmain(int argc, wchar_t** argv) { return toolMain(argc, startInUtf8(argc, argv)); }

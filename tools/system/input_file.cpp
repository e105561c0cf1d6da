#include "tools/system/input_file.h"

bool InputFile::readAll(std::string& bytes) {
    char block[65536];
    for (;;) {
        const long count = read(block, sizeof block);
        if (count < 0) return false;
        if (count == 0) return true;
        bytes.append(block, static_cast<std::size_t>(count));
    }
}

// A file the user names as an input of a tool (a shader source, a reference
// picture): opened once and read through that one descriptor, so that what
// is checked is what is read, even when the name is swapped for a pipe or
// another file in between.
#pragma once

#include <cstddef>
#include <string>

class InputFile {
public:
    // Opens without waiting (a named pipe without a writer, or a device,
    // cannot hold the tool) and refuses what is not a regular file.
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Empty while the file is usable; otherwise why it is not, as the end of
    // a sentence: "No such file or directory", "it is a folder", ...
    const std::string& problem() const { return problem_; }

    // Up to `size` bytes; 0 at the end of the file; -1 on a read error,
    // with problem() saying why.
    long read(void* buffer, std::size_t size);
    // The rest of the file; false on a read error.
    bool readAll(std::string& bytes);

private:
    int descriptor_ = -1;
    std::string problem_;
};

// Whether two paths name one file, after following symbolic links: hard
// links and links to links are the same file too. False when either does
// not exist.
bool sameFile(const std::string& first, const std::string& second);

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>

#include "tools/shot/png_file.h"
#include "tools/system/input_file.h"

// libpng reports errors by a long jump back to the function that set it up.
// Each function below that calls libpng sets its own jump point and holds no
// object with a destructor created after it.
struct PngReader::State {
    explicit State(const std::string& path) : path(path), file(path) {}
    std::string path;
    InputFile file;
    std::string problem;
    png_structp png = nullptr;
    png_infop info = nullptr;
    int width = 0;
    int height = 0;
};

namespace {

void onError(png_structp png, png_const_charp message) {
    auto* state = static_cast<PngReader::State*>(png_get_error_ptr(png));
    state->problem = "cannot read " + state->path + ": " + message;
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void readBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* state = static_cast<PngReader::State*>(png_get_io_ptr(png));
    while (length > 0) {
        const long count = state->file.read(data, length);
        if (count < 0) png_error(png, state->file.problem().c_str());
        if (count == 0) png_error(png, "the file ends too early");
        data += count;
        length -= static_cast<png_size_t>(count);
    }
}

// Every encoding to 8-bit RGBA, values as stored.
void normalise(png_structp png, png_infop info) {
    png_set_expand(png);  // palette to RGB, grey below 8 bits to 8, tRNS to alpha
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    const bool hasAlpha = (png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) != 0 ||
                          png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (!hasAlpha) png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

bool readHeader(PngReader::State& state) {
    if (setjmp(png_jmpbuf(state.png)) != 0) return false;
    png_set_read_fn(state.png, &state, readBytes);
    png_read_info(state.png, state.info);
    state.width = static_cast<int>(std::min<png_uint_32>(png_get_image_width(state.png, state.info), INT32_MAX));
    state.height = static_cast<int>(std::min<png_uint_32>(png_get_image_height(state.png, state.info), INT32_MAX));
    return true;
}

bool prepareRows(PngReader::State& state) {
    if (setjmp(png_jmpbuf(state.png)) != 0) return false;
    normalise(state.png, state.info);
    if (png_get_rowbytes(state.png, state.info) != static_cast<std::size_t>(state.width) * 4) {
        png_error(state.png, "unexpected row layout");
    }
    return true;
}

bool readRows(PngReader::State& state, png_bytepp rows) {
    if (setjmp(png_jmpbuf(state.png)) != 0) return false;
    png_read_image(state.png, rows);
    return true;
}

}  // namespace

PngReader::PngReader(const std::string& path) : state_(std::make_unique<State>(path)) {
    State& state = *state_;
    if (!state.file.problem().empty()) {
        state.problem = "cannot read " + path + ": " + state.file.problem();
        return;
    }
    state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, onError, onWarning);
    state.info = state.png ? png_create_info_struct(state.png) : nullptr;
    if (state.info == nullptr) {
        state.problem = "cannot read " + path + ": out of memory";
        return;
    }
    if (!readHeader(state)) return;
    if (state.width > kMaxPictureSide || state.height > kMaxPictureSide) {
        state.problem = "cannot read " + path + ": it is " + std::to_string(state.width) + "x" +
                        std::to_string(state.height) + " pixels, more than the largest picture, " +
                        std::to_string(kMaxPictureSide) + "x" + std::to_string(kMaxPictureSide);
    }
}

PngReader::~PngReader() { png_destroy_read_struct(&state_->png, &state_->info, nullptr); }

const std::string& PngReader::problem() const { return state_->problem; }
int PngReader::width() const { return state_->width; }
int PngReader::height() const { return state_->height; }

bool PngReader::read(Picture& picture) {
    if (!state_->problem.empty()) return false;
    // Sizes in 64 bits: 8192 x 8192 x 4 is past what 32 bits hold.
    const std::uint64_t pixels = static_cast<std::uint64_t>(state_->width) * state_->height;
    std::vector<unsigned char> rgba(pixels * 4);
    if (!prepareRows(*state_)) return false;
    std::vector<png_bytep> rows(static_cast<std::size_t>(state_->height));
    for (std::size_t y = 0; y < rows.size(); ++y) rows[y] = rgba.data() + y * state_->width * std::size_t{4};
    if (!readRows(*state_, rows.data())) return false;
    picture.width = state_->width;
    picture.height = state_->height;
    picture.rgb.resize(pixels * 3);
    // Over black: each channel weighed by alpha, rounded.
    for (std::uint64_t i = 0; i < pixels; ++i) {
        const unsigned alpha = rgba[i * 4 + 3];
        for (int channel = 0; channel < 3; ++channel) {
            picture.rgb[i * 3 + channel] = static_cast<unsigned char>((rgba[i * 4 + channel] * alpha + 127) / 255);
        }
    }
    return true;
}

bool readPng(const std::string& path, Picture& picture, std::string& problem) {
    PngReader reader(path);
    const bool read = reader.read(picture);
    problem = reader.problem();
    return read;
}

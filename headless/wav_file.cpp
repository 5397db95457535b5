#include "headless/wav_file.h"

#include <cstring>

namespace {

constexpr int BYTES_PER_SAMPLE = 2;
constexpr int FRAME_BYTES = SOUND_FRAME_SAMPLES * SOUND_CHANNELS * BYTES_PER_SAMPLE;
constexpr int HEADER_BYTES = 44;

// Little-endian, as the format has it, whatever the machine's order.
void put_le(unsigned char* at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

// The header of a file holding frames frames.
void make_header(unsigned char (&h)[HEADER_BYTES], int64_t frames) {
    const uint32_t data = static_cast<uint32_t>(frames * FRAME_BYTES);
    const unsigned char start[HEADER_BYTES] = {'R', 'I', 'F', 'F', 0,   0,   0,   0, 'W', 'A', 'V',
                                               'E', 'f', 'm', 't', ' ', 0,   0,   0, 0,   0,   0,
                                               0,   0,   0,   0,   0,   0,   0,   0, 0,   0,   0,
                                               0,   0,   0,   'd', 'a', 't', 'a', 0, 0,   0,   0};
    std::memcpy(h, start, sizeof h);
    put_le(h + 4, HEADER_BYTES - 8 + data, 4);
    put_le(h + 16, 16, 4);  // the format chunk's size
    put_le(h + 20, 1, 2);   // PCM
    put_le(h + 22, SOUND_CHANNELS, 2);
    put_le(h + 24, SOUND_RATE_HZ, 4);
    put_le(h + 28, SOUND_RATE_HZ * SOUND_CHANNELS * BYTES_PER_SAMPLE, 4);  // bytes a second
    put_le(h + 32, SOUND_CHANNELS * BYTES_PER_SAMPLE, 2);                  // bytes a sample
    put_le(h + 34, 8 * BYTES_PER_SAMPLE, 2);                               // bits a sample
    put_le(h + 40, data, 4);
}

}  // namespace

bool open_wav_file(WavFile& wav, const std::string& path) {
    wav.frames = 0;
    unsigned char header[HEADER_BYTES];
    make_header(header, 0);
    return open_output_file(wav.file, path) && append_piece(wav.file, header, sizeof header);
}

bool write_wav_frame(WavFile& wav, const FrameSound& sound) {
    static unsigned char bytes[FRAME_BYTES];
    for (int i = 0; i < SOUND_FRAME_SAMPLES * SOUND_CHANNELS; ++i)
        put_le(bytes + BYTES_PER_SAMPLE * i, static_cast<uint16_t>(sound.samples[i]), 2);
    if (!append_piece(wav.file, bytes, sizeof bytes)) return false;
    ++wav.frames;
    return true;
}

bool close_wav_file(WavFile& wav) {
    if (wav.file.fd < 0) return true;
    unsigned char header[HEADER_BYTES];
    make_header(header, wav.frames);
    const bool counted = rewrite_start(wav.file, header, sizeof header);
    return close_output_file(wav.file) && counted;
}

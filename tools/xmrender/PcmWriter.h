#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Writes 16-bit little-endian PCM, as a WAV file or headerless ("raw"). A WAV
// header's sizes are filled in on Close; "-" writes to standard output, where a
// pipe keeps the provisional header: its sizes say "as long as the stream",
// which WAV readers take to read to the end. Raw output has no sizes to fill in.
class PcmWriter {
public:
    PcmWriter() = default;
    ~PcmWriter();
    PcmWriter(const PcmWriter&) = delete;
    PcmWriter& operator=(const PcmWriter&) = delete;

    // Creates the file (or takes standard output for "-") and, for WAV, writes a provisional header.
    bool Open(const std::string& path, int32_t sampleRate, int32_t channels, bool wavHeader);
    // Appends interleaved 16-bit frames.
    bool Write(const int16_t* values, size_t count);
    // Patches the header sizes and closes; false if any write failed.
    bool Close();

private:
    bool writeHeader();

    std::FILE* file_ = nullptr;
    bool seekable_ = true;
    bool wavHeader_ = true;
    int32_t sampleRate_ = 44100;
    int32_t channels_ = 2;
    uint64_t dataBytes_ = 0;
    bool ok_ = true;
};

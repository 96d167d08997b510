#pragma once

#include "VelaXM/ByteReader.h"
#include "VelaXM/Module.h"

#include <memory>
#include <vector>

// Parses an XM image into a cleared module. Internal to the module's Load.
class TVelaXMLoader {
public:
    TVelaXMLoader(TVelaXMModule& module, const uint8_t* data, uint32_t size);

    // Reads header, patterns, instruments and sample data; false on a short header block.
    bool LoadXM();
    // Walks the extension chunks after the last sample; never fails.
    void ReadExtensionChunks();

    // Decodes one sample's data starting at the reader's position and moves past its block.
    static void DecodeSampleData(TVelaXMByteReader& reader, TVelaXMSample& sample);

private:
    // A sample header as read: the sample lands in the instrument, or is only
    // skipped when the instrument has more samples than slots.
    struct PendingSample {
        TVelaXMSample* target = nullptr;
        std::unique_ptr<TVelaXMSample> excess;
    };
    using PendingSamples = std::vector<PendingSample>;

    bool readPatterns(int32_t count, bool shortHeader);
    bool readPattern(TVelaXMPattern* pattern, bool shortHeader);
    void decodeCells(TVelaXMPattern& pattern, int32_t rows);
    bool readInstrument(int32_t index, PendingSamples& samples);
    void readInstrumentExtras(TVelaXMInstrument& instrument, const uint8_t* block);
    bool readSampleHeader(TVelaXMSample& sample);
    void readSampleData(PendingSamples& samples);

    TVelaXMModule& module_;
    TVelaXMByteReader reader_;
    int64_t cellBudget_;
};

// Applies the header rules of a loop given in bytes: drops a loop that starts
// outside the sample or has no length, cuts one that runs past the end.
void fitSampleLoop(TVelaXMSample& sample);

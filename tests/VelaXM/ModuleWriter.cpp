#include "VelaXM/ModuleWriter.h"

#include <cstring>
#include <tuple>

namespace xmtest {

namespace {

void put16(Bytes& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(Bytes& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void putText(Bytes& out, const std::string& text, size_t width)
{
    for (size_t i = 0; i < width; ++i)
        out.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
}

void putEnvelopePoints(Bytes& out, const XmEnvelope& env)
{
    for (size_t k = 0; k < 12; ++k) {
        const auto point = k < env.points.size() ? env.points[k] : std::pair<uint16_t, uint16_t>{0, 0};
        put16(out, point.first);
        put16(out, point.second);
    }
}

uint8_t envelopeCount(const XmEnvelope& env)
{
    return env.count == 0xFF ? static_cast<uint8_t>(env.points.size()) : env.count;
}

void putInstrument(Bytes& out, const XmInstrument& ins, bool withData)
{
    const size_t start = out.size();
    put32(out, ins.headerSize);
    putText(out, ins.name, 22);
    out.push_back(0);
    put16(out, static_cast<uint32_t>(ins.samples.size()));
    if (!ins.samples.empty()) {
        put32(out, 40);
        out.insert(out.end(), ins.sampleMap.begin(), ins.sampleMap.end());
        putEnvelopePoints(out, ins.volume);
        putEnvelopePoints(out, ins.panning);
        out.push_back(envelopeCount(ins.volume));
        out.push_back(envelopeCount(ins.panning));
        for (const XmEnvelope* env : {&ins.volume, &ins.panning}) {
            out.push_back(env->sustain);
            out.push_back(env->loopStart);
            out.push_back(env->loopEnd);
        }
        out.push_back(ins.volume.type);
        out.push_back(ins.panning.type);
        out.push_back(ins.vibratoType);
        out.push_back(ins.vibratoSweep);
        out.push_back(ins.vibratoDepth);
        out.push_back(ins.vibratoRate);
        put16(out, ins.fadeout);
        put16(out, 0);
    }
    // Pad (or cut) the header to its declared size.
    out.resize(start + ins.headerSize, 0);
    for (const XmSample& s : ins.samples) {
        put32(out, static_cast<uint32_t>(s.length < 0 ? s.data.size() : s.length));
        put32(out, s.loopStart);
        put32(out, s.loopLength);
        out.push_back(s.volume);
        out.push_back(static_cast<uint8_t>(s.finetune));
        out.push_back(s.type);
        out.push_back(s.panning);
        out.push_back(static_cast<uint8_t>(s.relativeNote));
        out.push_back(s.reserved);
        putText(out, s.name, 22);
    }
    if (withData)
        for (const XmSample& s : ins.samples)
            out.insert(out.end(), s.data.begin(), s.data.end());
}

void putPattern(Bytes& out, const XmPattern& p, bool shortHeader)
{
    put32(out, p.headerLength);
    out.push_back(0);
    if (shortHeader)
        out.push_back(static_cast<uint8_t>(p.rows - 1));
    else
        put16(out, p.rows);
    put16(out, static_cast<uint32_t>(p.packedSizeField < 0 ? p.packed.size() : p.packedSizeField));
    out.insert(out.end(), p.packed.begin(), p.packed.end());
}

} // namespace

Bytes packCells(const std::vector<TVelaXMPatternNote>& cells)
{
    Bytes out;
    for (const TVelaXMPatternNote& c : cells) {
        uint8_t mask = 0x80;
        if (c.Note)
            mask |= 1;
        if (c.Instrument)
            mask |= 2;
        if (c.Volume)
            mask |= 4;
        if (c.Effect)
            mask |= 8;
        if (c.EffectParameter)
            mask |= 16;
        out.push_back(mask);
        for (int bit = 0; bit < 5; ++bit) {
            const int32_t values[] = {c.Note, c.Instrument, c.Volume, c.Effect, c.EffectParameter};
            if (mask & (1 << bit))
                out.push_back(static_cast<uint8_t>(values[bit]));
        }
    }
    return out;
}

XmPattern makePattern(
    uint16_t rows, int32_t channels, const std::vector<std::tuple<int32_t, int32_t, TVelaXMPatternNote>>& cells)
{
    std::vector<TVelaXMPatternNote> grid(static_cast<size_t>(rows) * channels);
    for (const auto& [row, channel, cell] : cells)
        grid[static_cast<size_t>(row) * channels + channel] = cell;
    XmPattern p;
    p.rows = rows;
    p.packed = packCells(grid);
    return p;
}

Bytes buildXM(const XmModule& m)
{
    Bytes out;
    putText(out, "Extended Module: ", 17);
    putText(out, m.name, 20);
    out.push_back(0x1A);
    putText(out, "writer", 20);
    put16(out, m.version);
    put32(out, m.headerSize);
    put16(out, m.songLength);
    put16(out, m.restart);
    put16(out, m.channels);
    put16(out, static_cast<uint32_t>(m.patternCountField < 0 ? m.patterns.size() : m.patternCountField));
    put16(out, static_cast<uint32_t>(m.instrumentCountField < 0 ? m.instruments.size() : m.instrumentCountField));
    put16(out, m.flags);
    put16(out, m.speed);
    put16(out, m.bpm);
    out.insert(out.end(), m.orders.begin(), m.orders.end());
    out.resize(60 + m.headerSize, 0);
    if (m.version <= 0x0103) {
        for (const XmInstrument& ins : m.instruments)
            putInstrument(out, ins, false);
        for (const XmPattern& p : m.patterns)
            putPattern(out, p, m.version <= 0x0102);
        for (const XmInstrument& ins : m.instruments)
            for (const XmSample& s : ins.samples)
                out.insert(out.end(), s.data.begin(), s.data.end());
    } else {
        for (const XmPattern& p : m.patterns)
            putPattern(out, p, false);
        for (const XmInstrument& ins : m.instruments)
            putInstrument(out, ins, true);
    }
    out.insert(out.end(), m.trailer.begin(), m.trailer.end());
    return out;
}

Bytes deltaEncode8(const std::vector<int8_t>& values)
{
    Bytes out;
    int8_t previous = 0;
    for (int8_t v : values) {
        out.push_back(static_cast<uint8_t>(v - previous));
        previous = v;
    }
    return out;
}

Bytes deltaEncode16(const std::vector<int16_t>& values)
{
    Bytes out;
    int16_t previous = 0;
    for (int16_t v : values) {
        put16(out, static_cast<uint16_t>(v - previous));
        previous = v;
    }
    return out;
}

Bytes chunk(const char* id, const Bytes& payload)
{
    Bytes out(id, id + 4);
    put32(out, static_cast<uint32_t>(payload.size()));
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

XmModule simpleModule(int32_t channels, const std::vector<std::tuple<int32_t, int32_t, TVelaXMPatternNote>>& cells,
    const XmSample& sample, uint16_t rows)
{
    XmModule m;
    m.channels = static_cast<uint16_t>(channels);
    m.patterns.push_back(makePattern(rows, channels, cells));
    XmInstrument ins;
    ins.name = "ins";
    ins.samples.push_back(sample);
    m.instruments.push_back(ins);
    return m;
}

Bytes buildMOD(const char* signature, int32_t channels, int32_t patterns, const std::vector<ModSample>& samples,
    uint8_t songLength, const std::vector<uint8_t>& orders)
{
    const bool old = signature == nullptr || signature[0] == 0;
    const size_t count = old ? 15 : 31;
    Bytes out;
    putText(out, "modname", 20);
    for (size_t i = 0; i < count; ++i) {
        const ModSample s = i < samples.size() ? samples[i] : ModSample{};
        putText(out, s.name, 22);
        out.push_back(static_cast<uint8_t>(s.lengthWords >> 8));
        out.push_back(static_cast<uint8_t>(s.lengthWords));
        out.push_back(s.finetune);
        out.push_back(s.volume);
        out.push_back(static_cast<uint8_t>(s.loopStartWords >> 8));
        out.push_back(static_cast<uint8_t>(s.loopStartWords));
        out.push_back(static_cast<uint8_t>(s.loopLengthWords >> 8));
        out.push_back(static_cast<uint8_t>(s.loopLengthWords));
    }
    out.push_back(songLength);
    out.push_back(0);
    for (size_t i = 0; i < 128; ++i)
        out.push_back(i < orders.size() ? orders[i] : 0);
    if (!old)
        out.insert(out.end(), signature, signature + 4);
    out.resize(out.size() + static_cast<size_t>(patterns) * channels * 256, 0);
    for (size_t i = 0; i < samples.size() && i < count; ++i)
        out.resize(out.size() + 2 * static_cast<size_t>(samples[i].lengthWords), static_cast<uint8_t>(i + 1));
    return out;
}

} // namespace xmtest

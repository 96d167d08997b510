#include "SoundTestData.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

namespace soundtest {

namespace {

void appendPage(std::vector<uint8_t>& Out, const ogg_page& Page)
{
    Out.insert(Out.end(), Page.header, Page.header + Page.header_len);
    Out.insert(Out.end(), Page.body, Page.body + Page.body_len);
}

} // namespace

std::vector<uint8_t> EncodeOgg(const std::vector<float>& Interleaved, int Channels, int Rate, float Quality)
{
    std::vector<uint8_t> out;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, Channels, Rate, Quality) != 0) {
        vorbis_info_clear(&vi);
        return out;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block vb;
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 1234);

    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&os, &page) != 0) {
        appendPage(out, page);
    }

    const int frames = static_cast<int>(Interleaved.size()) / Channels;
    int done = 0;
    bool ended = false;
    while (!ended) {
        const int chunk = frames - done < 1024 ? frames - done : 1024;
        if (chunk > 0) {
            float** buffer = vorbis_analysis_buffer(&vd, chunk);
            for (int i = 0; i < chunk; ++i) {
                for (int c = 0; c < Channels; ++c) {
                    buffer[c][i] = Interleaved[static_cast<size_t>(done + i) * Channels + c];
                }
            }
            vorbis_analysis_wrote(&vd, chunk);
            done += chunk;
        } else {
            vorbis_analysis_wrote(&vd, 0);
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet) != 0) {
                ogg_stream_packetin(&os, &packet);
                while (ogg_stream_pageout(&os, &page) != 0) {
                    appendPage(out, page);
                    if (ogg_page_eos(&page)) {
                        ended = true;
                    }
                }
            }
        }
        if (chunk == 0) {
            while (ogg_stream_flush(&os, &page) != 0) {
                appendPage(out, page);
            }
            ended = true;
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

std::vector<uint8_t> PageOggPackets(const std::vector<std::vector<uint8_t>>& Packets, int Serial)
{
    std::vector<uint8_t> out;
    ogg_stream_state os;
    ogg_stream_init(&os, Serial);
    for (size_t i = 0; i < Packets.size(); ++i) {
        ogg_packet packet{};
        packet.packet = const_cast<unsigned char*>(Packets[i].data());
        packet.bytes = static_cast<long>(Packets[i].size());
        packet.b_o_s = i == 0;
        packet.e_o_s = i + 1 == Packets.size();
        packet.granulepos = i < 3 ? 0 : static_cast<ogg_int64_t>(i - 3) * 1024;
        packet.packetno = static_cast<ogg_int64_t>(i);
        ogg_stream_packetin(&os, &packet);
        ogg_page page;
        while (ogg_stream_flush(&os, &page) != 0) {
            appendPage(out, page);
        }
    }
    ogg_stream_clear(&os);
    return out;
}

std::vector<float> Sine(int Frames, int Channels, int Rate, double Frequency, double Amplitude)
{
    std::vector<float> out(static_cast<size_t>(Frames) * Channels);
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < Frames; ++i) {
        for (int c = 0; c < Channels; ++c) {
            out[static_cast<size_t>(i) * Channels + c]
                = static_cast<float>(Amplitude * std::sin(2 * pi * Frequency * i / Rate + c * pi / 2));
        }
    }
    return out;
}

namespace {

struct TReader {
    const std::vector<uint8_t>* Bytes;
    size_t Position;
};

size_t readBytes(void* Target, size_t Size, size_t Count, void* Source)
{
    TReader& r = *static_cast<TReader*>(Source);
    size_t n = Size * Count;
    if (n > r.Bytes->size() - r.Position) {
        n = r.Bytes->size() - r.Position;
    }
    std::memcpy(Target, r.Bytes->data() + r.Position, n);
    r.Position += n;
    return n / Size;
}

int seekBytes(void* Source, ogg_int64_t Offset, int Origin)
{
    TReader& r = *static_cast<TReader*>(Source);
    const int64_t base = Origin == SEEK_SET ? 0 : (Origin == SEEK_CUR ? int64_t(r.Position) : int64_t(r.Bytes->size()));
    const int64_t target = base + Offset;
    if (target < 0 || target > int64_t(r.Bytes->size())) {
        return -1;
    }
    r.Position = static_cast<size_t>(target);
    return 0;
}

long tellBytes(void* Source)
{
    return static_cast<long>(static_cast<TReader*>(Source)->Position);
}

} // namespace

std::vector<int16_t> ReferenceDecode(const std::vector<uint8_t>& Ogg, int& Channels, int& Rate)
{
    std::vector<int16_t> out;
    TReader reader{&Ogg, 0};
    OggVorbis_File vf;
    ov_callbacks callbacks{readBytes, seekBytes, nullptr, tellBytes};
    if (ov_open_callbacks(&reader, &vf, nullptr, 0, callbacks) != 0) {
        return out;
    }
    Channels = ov_info(&vf, -1)->channels;
    Rate = static_cast<int>(ov_info(&vf, -1)->rate);
    char buffer[8192];
    int bitstream = 0;
    for (;;) {
        const long r = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &bitstream);
        if (r == OV_HOLE) {
            continue;
        }
        if (r <= 0) {
            break;
        }
        const size_t at = out.size();
        out.resize(at + static_cast<size_t>(r) / 2);
        std::memcpy(out.data() + at, buffer, static_cast<size_t>(r));
    }
    ov_clear(&vf);
    return out;
}

void PutU16(std::vector<uint8_t>& Out, uint32_t Value)
{
    Out.push_back(static_cast<uint8_t>(Value));
    Out.push_back(static_cast<uint8_t>(Value >> 8));
}

void PutU32(std::vector<uint8_t>& Out, uint32_t Value)
{
    PutU16(Out, Value & 0xFFFF);
    PutU16(Out, Value >> 16);
}

TWaveBuilder::TWaveBuilder(const char* Form)
{
    bytes_.assign(12, 0);
    std::memcpy(bytes_.data(), "RIFF", 4);
    std::memcpy(bytes_.data() + 8, Form, 4);
}

TWaveBuilder& TWaveBuilder::Chunk(const char* Id, const std::vector<uint8_t>& Body, int64_t DeclaredSize)
{
    bytes_.insert(bytes_.end(), Id, Id + 4);
    PutU32(bytes_, static_cast<uint32_t>(DeclaredSize < 0 ? int64_t(Body.size()) : DeclaredSize));
    bytes_.insert(bytes_.end(), Body.begin(), Body.end());
    return *this;
}

TWaveBuilder& TWaveBuilder::Format(uint16_t Tag, uint16_t Channels, uint32_t Rate, uint16_t Bits, const char* Id)
{
    std::vector<uint8_t> body;
    PutU16(body, Tag);
    PutU16(body, Channels);
    PutU32(body, Rate);
    PutU32(body, Rate * Channels * Bits / 8);
    PutU16(body, static_cast<uint16_t>(Channels * Bits / 8));
    PutU16(body, Bits);
    return Chunk(Id, body);
}

std::vector<uint8_t> TWaveBuilder::Bytes() const
{
    std::vector<uint8_t> out = bytes_;
    const uint32_t size = static_cast<uint32_t>(out.size() - 8);
    std::memcpy(out.data() + 4, &size, 4);
    return out;
}

std::vector<uint8_t> SamplerChunk(const std::vector<std::vector<uint32_t>>& Loops, int32_t LoopCount)
{
    std::vector<uint8_t> body(36, 0);
    const uint32_t count = LoopCount < 0 ? static_cast<uint32_t>(Loops.size()) : static_cast<uint32_t>(LoopCount);
    std::memcpy(body.data() + 28, &count, 4);
    for (const auto& loop : Loops) {
        PutU32(body, 0); // identifier
        PutU32(body, loop[0]);
        PutU32(body, loop[1]);
        PutU32(body, loop[2]);
        PutU32(body, 0); // fraction
        PutU32(body, 0); // play count
    }
    return body;
}

std::vector<uint8_t> Wave16(const std::vector<int16_t>& Values, int Channels, uint32_t Rate)
{
    std::vector<uint8_t> data;
    for (int16_t v : Values) {
        PutU16(data, static_cast<uint16_t>(v));
    }
    return TWaveBuilder().Format(1, static_cast<uint16_t>(Channels), Rate, 16).Chunk("data", data).Bytes();
}

} // namespace soundtest

// The encoder library keeps part of its 5.1 set-up past vorbis_info_clear; the
// leak is the encoder's, used only to make test inputs, not ours.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:vorbis_encode_setup_init\n";
}

// Parsing throughput on a generated 1 MB document, beside pugixml and expat
// parsing the same bytes. Run by hand: ./xml_bench
#include "VelaXML/VelaXML.h"
#include "render/Sprites.h"

#include <benchmark/benchmark.h>
#include <expat.h>
#include <pugixml.hpp>

#include <string>

namespace {

// An atlas-like document: a declaration, comments, many sprite elements with
// attributes, and nested records with text and references, about 1 MB long.
const std::string& generatedDocument()
{
    static const std::string document = [] {
        std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- generated for the benchmark -->\n<root>\n";
        for (int i = 0; text.size() < 1024 * 1024; ++i) {
            const std::string n = std::to_string(i);
            text += "  <sprite n=\"sprite_" + n + "\" x=\"" + std::to_string(i % 2048) + "\" y=\"" +
                    std::to_string(i * 7 % 2048) + "\" w=\"64\" h=\"48\" oX=\"3\" oY=\"4\" oW=\"70\" oH=\"56\"/>\n";
            text += "  <entry id=\"" + n + "\">\n    <title>Track &amp; title number " + n +
                    "</title>\n    <note>Some   text with &lt;escapes&gt; and caf\xC3\xA9 &#65;</note>\n  </entry>\n";
        }
        text += "</root>\n";
        return text;
    }();
    return document;
}

void VelaXMLParse(benchmark::State& state)
{
    const std::string& document = generatedDocument();
    for (auto _ : state) {
        TVelaXML xml;
        const bool parsed = xml.ParseBytes(reinterpret_cast<const uint8_t*>(document.data()), document.size());
        benchmark::DoNotOptimize(parsed);
        if (!parsed) {
            state.SkipWithError("parse failed");
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(document.size()));
}
BENCHMARK(VelaXMLParse)->Unit(benchmark::kMillisecond);

void VelaXMLParseFromStream(benchmark::State& state)
{
    const std::string& document = generatedDocument();
    for (auto _ : state) {
        TVelaXMLMemoryStream stream;
        stream.Write(document.data(), document.size());
        TVelaXML xml;
        benchmark::DoNotOptimize(xml.Parse(stream));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(document.size()));
}
BENCHMARK(VelaXMLParseFromStream)->Unit(benchmark::kMillisecond);

void PugixmlParse(benchmark::State& state)
{
    const std::string& document = generatedDocument();
    for (auto _ : state) {
        pugi::xml_document xml;
        // Both readers build a whole tree and decode references; pugixml does it in a copy it owns.
        benchmark::DoNotOptimize(xml.load_buffer(document.data(), document.size()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(document.size()));
}
BENCHMARK(PugixmlParse)->Unit(benchmark::kMillisecond);

void ExpatParse(benchmark::State& state)
{
    const std::string& document = generatedDocument();
    for (auto _ : state) {
        // Expat builds no tree; count elements so the callbacks are not empty.
        XML_Parser parser = XML_ParserCreate(nullptr);
        long elements = 0;
        XML_SetUserData(parser, &elements);
        XML_SetStartElementHandler(parser,
                                   [](void* data, const XML_Char*, const XML_Char**) { ++*static_cast<long*>(data); });
        const auto status = XML_Parse(parser, document.data(), static_cast<int>(document.size()), XML_TRUE);
        benchmark::DoNotOptimize(status);
        benchmark::DoNotOptimize(elements);
        XML_ParserFree(parser);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(document.size()));
}
BENCHMARK(ExpatParse)->Unit(benchmark::kMillisecond);

// One atlas sheet naming every slot, read into a table as the loader does.
void AtlasSheetLoad(benchmark::State& state)
{
    std::string sheet = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- a -->\n<!-- b -->\n<!-- c -->\n"
                        "<TextureAtlas imagePath=\"textures1.png\" width=\"2048\" height=\"2048\">\n";
    for (int32_t i = 0; i < SpriteCount; ++i) {
        sheet += "    <sprite n=\"" + std::string(SpriteNames[i]) +
                 "\" x=\"2\" y=\"1480\" w=\"556\" h=\"480\" oX=\"244\" oY=\"0\" oW=\"800\" oH=\"480\"/>\n";
    }
    sheet += "</TextureAtlas>\n";
    static Sprite table[SpriteCount];
    for (auto _ : state) {
        LoadAtlasInto(table, nullptr, reinterpret_cast<const uint8_t*>(sheet.data()),
                      static_cast<int32_t>(sheet.size()));
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(AtlasSheetLoad)->Unit(benchmark::kMicrosecond);

// Hostile shapes at 10 MB each: time must stay proportional to size.
std::string hostileDocument(int shape)
{
    constexpr size_t size = 10 * 1024 * 1024;
    std::string text;
    text.reserve(size + 64);
    switch (shape) {
    case 0: // deep nesting, closed again
        while (text.size() < size / 2) {
            text += "<d>";
        }
        for (size_t open = text.size() / 3; open > 0; --open) {
            text += "</d>";
        }
        break;
    case 1: // one element with a huge number of attributes
        text = "<a";
        for (int i = 0; text.size() < size; ++i) {
            text += " k" + std::to_string(i) + "='v'";
        }
        text += "/>";
        break;
    case 2: // a numeric reference with millions of digits
        text = "<a>&#" + std::string(size, '7') + ";</a>";
        break;
    case 3: // an unterminated comment full of near-terminators
        text = "<!--";
        while (text.size() < size) {
            text += "-- -";
        }
        break;
    default: // ten million siblings' worth of text and empty elements
        while (text.size() < size) {
            text += "<e/>word  ";
        }
        break;
    }
    return text;
}

void VelaXMLHostile(benchmark::State& state)
{
    const std::string document = hostileDocument(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TVelaXML xml;
        benchmark::DoNotOptimize(xml.ParseBytes(reinterpret_cast<const uint8_t*>(document.data()), document.size()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(document.size()));
}
BENCHMARK(VelaXMLHostile)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

BENCHMARK_MAIN();

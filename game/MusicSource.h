#pragma once

#include "DataManager/SoundSlots.h"

#include <cstdint>

// The music source numbers of MusicRequest: one number names one thing the
// audio thread may start, a module player, a sample or a music stream.
inline constexpr int32_t MusicSilence = -1;
inline constexpr int32_t SampleSourceBase = 256;
inline constexpr int32_t StreamSourceBase = 512;

// What a source number names.
enum class TSourceKind { None, Module, Sample, Stream };

// Module slot n as a source.
constexpr int32_t ModuleSource(uint8_t Slot) { return Slot; }
// Sample slot n as a source.
constexpr int32_t SampleSource(uint8_t Slot) { return SampleSourceBase + Slot; }
// Music slot n as a source.
constexpr int32_t StreamSource(uint8_t Slot) { return StreamSourceBase + Slot; }

// The kind of a source number; module slot 255 and negative numbers name nothing.
constexpr TSourceKind SourceKind(int32_t Source)
{
    if (Source < 0)
        return TSourceKind::None;
    if (Source < 255)
        return TSourceKind::Module;
    if (Source >= StreamSourceBase)
        return TSourceKind::Stream;
    if (Source >= SampleSourceBase)
        return TSourceKind::Sample;
    return TSourceKind::None;
}

// The slot a source number names (only its low byte counts).
constexpr uint8_t SourceSlot(int32_t Source) { return uint8_t(Source & 0xFF); }

// The game's music.
inline constexpr int32_t MusicMenu = StreamSource(MusicSlotMenu);
inline constexpr int32_t MusicLevelDone = StreamSource(MusicSlotLevelDone);
inline constexpr int32_t MusicGameOver = StreamSource(MusicSlotGameOver);

#pragma once

#include <cstdint>

// What a playing module asks of, and tells, whoever plays it: how its song
// ends, and the notes its pattern channels start, for a note log. The module
// knows its player only through this.
class TVelaXMModuleListener {
public:
    // Whether the song wraps to its restart position instead of ending.
    virtual bool LoopsSong() const = 0;
    // n > 0: the song ends when it comes back to a played row the n-th time; 0 never.
    virtual int32_t RepeatLimit() const = 0;
    // Whether the notes of a pattern channel are followed.
    virtual bool Watches(int32_t Channel) const = 0;
    // A note 1..96 started on a channel.
    virtual void NoteStarted(int32_t Channel, int32_t Note) = 0;
    // A key-off (note 97) on a channel.
    virtual void KeyOff(int32_t Channel) = 0;
    // A channel triggered a note or a retrigger on a new row.
    virtual void RowTriggered(int32_t Channel) = 0;
    // The song ran out of orders and wrapped to its restart position.
    virtual void SongWrapped() = 0;

protected:
    ~TVelaXMModuleListener() = default;
};

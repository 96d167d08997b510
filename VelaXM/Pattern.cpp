#include "VelaXM/Pattern.h"

void TVelaXMPattern::SetSize(int32_t NewRows, int32_t NewChannels)
{
    const int32_t oldRows = Rows;
    const int32_t oldChannels = Channels;
    Rows = NewRows;
    Channels = static_cast<uint8_t>(NewChannels);
    if (Rows <= 0 || Channels == 0) {
        TVelaXMPatternNotes().swap(Notes);
        return;
    }
    TVelaXMPatternNotes cells(static_cast<size_t>(Rows + 1) * Channels);
    // Old cells keep their row and channel as long as both still exist.
    for (int32_t row = 0; row < oldRows && row < Rows; ++row) {
        for (int32_t channel = 0; channel < oldChannels && channel < Channels; ++channel) {
            const int64_t oldIndex = static_cast<int64_t>(row) * oldChannels + channel;
            if (oldIndex >= static_cast<int64_t>(Notes.size()))
                break;
            cells[static_cast<size_t>(row) * Channels + channel] = Notes[static_cast<size_t>(oldIndex)];
        }
    }
    Notes.swap(cells);
}

int64_t TVelaXMPattern::CellIndex(int32_t Row, int32_t Channel) const
{
    const int64_t index = static_cast<int64_t>(Row) * Channels + Channel;
    if (index < 0 || index >= static_cast<int64_t>(Notes.size()))
        return -1;
    return index;
}

TVelaXMPatternNote TVelaXMPattern::GetNote(int32_t Row, int32_t Channel) const
{
    const int64_t index = CellIndex(Row, Channel);
    return index < 0 ? TVelaXMPatternNote{} : Notes[static_cast<size_t>(index)];
}

void TVelaXMPattern::SetNote(int32_t Row, int32_t Channel, const TVelaXMPatternNote& Note)
{
    const int64_t index = CellIndex(Row, Channel);
    if (index >= 0)
        Notes[static_cast<size_t>(index)] = Note;
}

void TVelaXMPattern::Clear()
{
    Name.clear();
    TVelaXMPatternNotes().swap(Notes);
}

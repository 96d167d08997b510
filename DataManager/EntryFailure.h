#pragma once

#include <string>
#include <string_view>

// Why a data entry could not be used. The loader's own lines say which store
// stayed empty; one more line names the entry and one of these reasons.
namespace EntryFailure {
inline constexpr std::string_view Missing = "not in the data package";
inline constexpr std::string_view NoPNGHeader = "no PNG signature and image header";
inline constexpr std::string_view PNGDataDamaged = "PNG image data does not decode";
inline constexpr std::string_view SheetNotXML = "sprite sheet is not well-formed XML";
inline constexpr std::string_view SheetNamesNoSprite = "sprite sheet names none of the game's sprites";
inline constexpr std::string_view NotAModule = "not a loadable XM or MOD module";
inline constexpr std::string_view NotMusic = "not a playable Ogg Vorbis stream";
inline constexpr std::string_view NotASample = "not a decodable Ogg Vorbis or WAVE sound";
} // namespace EntryFailure

// "ENTRY: WHAT!", the line that follows a failed step's own lines.
inline std::string EntryFailureLine(std::string_view entry, std::string_view what)
{
    return std::string(entry) + ": " + std::string(what) + "!";
}

#pragma once
// Texts of the GIF code's errors and warnings.

namespace klipora::imaging::gif::msg {

inline constexpr const char* Converting = "Converting...";
inline constexpr const char* Saving = "Saving...";
inline constexpr const char* Loading = "Loading...";

inline constexpr const char* UnsupportedVersion = "Unsupported GIF version";
inline constexpr const char* ColorNotInTable = "Color not in color table";
inline constexpr const char* ColorTableOverflow = "Color table overflow";
inline constexpr const char* RangeError = "Range check error";
inline constexpr const char* CannotOpenFile = "Cannot open file ";
inline constexpr const char* UnsupportedPixelFormat = "Unsupported PixelFormat";

// Reading.
inline constexpr const char* InvalidSignature = "Invalid GIF signature";
inline constexpr const char* PrematureEnd = "Premature end of data";
inline constexpr const char* UnknownExtension = "Unknown extension type";
inline constexpr const char* InvalidData = "Invalid GIF data";
inline constexpr const char* UnknownBlockType = "Unknown GIF block type";
inline constexpr const char* ExceedsScreen = "Image exceeds Logical Screen size";
inline constexpr const char* InvalidTrailer = "Invalid Image trailer";
inline constexpr const char* InvalidIntroducer = "Invalid extension introducer";
inline constexpr const char* CorruptImageData = "Corrupt image data";
inline constexpr const char* ImageTooLarge = "Image too large";

}  // namespace klipora::imaging::gif::msg

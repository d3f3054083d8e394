// The pattern file: one header and a block per cut plane, every number
// little-endian, no padding, strings without terminator after their
// length fields.
//
// Header: version (Byte), HeadLen (Integer), SrcLen, TitleLen, EnvLen
// (Byte), NoteLen (Integer), then Source, Title, Environ, Notes.
// Block: BlkType (Byte), BlkLen (Integer), TitleLen, EnvLen (Byte),
// NoteLen (Integer), Frequency (Single), Plane (Byte), PlaneAngle (Single),
// SYMETRY (Byte), #OfPoints (Integer), StartAngle, AngleInc (Single), the
// data (Single x #OfPoints), then Title, Env, Notes.
//
// Reading never trusts a length: a record whose lengths disagree with each
// other or with the bytes present is refused as Invalid.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/debug_file.h"

namespace qw {

inline constexpr int kPatternHeaderFixed = 8;
inline constexpr int kPatternBlockFixed = 27;
inline constexpr int kPatternMaxPoints = 361;

struct PatternFileHeader {
    std::uint8_t version = 0;
    std::int16_t HeadLen = 0;
    std::uint8_t SrcLen = 0;
    std::uint8_t TitleLen = 0;
    std::uint8_t EnvLen = 0;
    std::int16_t NoteLen = 0;
    std::string Source, Title, Environ, Notes;  // Windows-1252 bytes
};

struct PatternBlock {
    std::uint8_t BlkType = 1;  // 1 total, 2 horizontal, 3 vertical
    std::int16_t BlkLen = 0;
    std::uint8_t TitleLen = 0;
    std::uint8_t EnvLen = 0;
    std::int16_t NoteLen = 0;
    float Frequency = 0;       // MHz
    std::uint8_t Plane = 0;    // 0 azimuth cut, 1 zenith cut
    float PlaneAngle = 0;      // degrees: elevation of an azimuth cut, azimuth of a zenith cut
    std::uint8_t SYMETRY = 0;
    std::int16_t OfPoints = 0; // #OfPoints, 0..361
    float StartAngle = 0;      // degrees
    float AngleInc = 0;        // degrees
    std::array<float, kPatternMaxPoints> Data{};  // dBi, 0..OfPoints-1
    std::string Title, Env, Notes;
};

// Sets SrcLen, TitleLen, EnvLen, NoteLen and HeadLen from the strings,
// shortening a string that its length field cannot hold (Source, Title and
// Environ to 255 bytes, Notes so that HeadLen fits an Integer).
void SetHeaderLengths(PatternFileHeader& header);
// Sets TitleLen, EnvLen, NoteLen and BlkLen the same way; OfPoints is
// limited to 0..361.
void SetBlockLengths(PatternBlock& block);

enum class PatternRead {
    Ok,
    End,      // no byte left where the record would start
    Invalid,  // lengths that disagree, or bytes missing
};

// Reads records from the bytes of a file, front to back.
class PatternReader {
public:
    explicit PatternReader(std::string_view bytes) : bytes_(bytes) {}
    std::size_t Position() const { return pos_; }
    bool AtEnd() const { return pos_ >= bytes_.size(); }
    std::size_t Remaining() const { return bytes_.size() - pos_; }

    // The fields; each returns false (reading nothing) when too few bytes
    // are left.
    bool ReadByte(std::uint8_t& v);
    bool ReadInteger(std::int16_t& v);
    bool ReadSingle(float& v);
    bool ReadPatternText(std::size_t length, std::string& text);

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

PatternRead ReadPatternHeader(PatternReader& in, PatternFileHeader& header);
// *start receives the offset at which the block begins.
PatternRead ReadPatternBlock(PatternReader& in, PatternBlock& block, std::size_t* start = nullptr);

// Writers; the length fields are written as they stand.
void WritePatternByte(std::string& out, std::uint8_t v);
void WritePatternInteger(std::string& out, std::int16_t v);
void WritePatternSingle(std::string& out, float v);
void WritePatternText(std::string& out, const std::string& text);
void WritePatternHeader(std::string& out, const PatternFileHeader& header);
void WritePatternBlock(std::string& out, const PatternBlock& block);

// The records in the debug file, one field per line.
void DumpPatternHeader(DebugFile& debug, const PatternFileHeader& header);
void DumpPatternBlock(DebugFile& debug, const PatternBlock& block, bool written);

}  // namespace qw

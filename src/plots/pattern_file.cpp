#include "plots/pattern_file.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "model/number_str.h"

namespace qw {

namespace {

int HeaderLength(const PatternFileHeader& h) {
    return kPatternHeaderFixed + h.SrcLen + h.TitleLen + h.EnvLen + h.NoteLen;
}

int BlockLength(const PatternBlock& b) {
    return kPatternBlockFixed + 4 * b.OfPoints + b.TitleLen + b.EnvLen + b.NoteLen;
}

std::uint8_t ByteLength(std::string& text) {
    if (text.size() > 255) text.resize(255);
    return static_cast<std::uint8_t>(text.size());
}

}  // namespace

void SetHeaderLengths(PatternFileHeader& h) {
    h.SrcLen = ByteLength(h.Source);
    h.TitleLen = ByteLength(h.Title);
    h.EnvLen = ByteLength(h.Environ);
    const std::size_t room = 32767 - (kPatternHeaderFixed + h.SrcLen + h.TitleLen + h.EnvLen);
    if (h.Notes.size() > room) h.Notes.resize(room);
    h.NoteLen = static_cast<std::int16_t>(h.Notes.size());
    h.HeadLen = static_cast<std::int16_t>(HeaderLength(h));
}

void SetBlockLengths(PatternBlock& b) {
    b.OfPoints = std::clamp<std::int16_t>(b.OfPoints, 0, kPatternMaxPoints);
    b.TitleLen = ByteLength(b.Title);
    b.EnvLen = ByteLength(b.Env);
    const std::size_t room = 32767 - (kPatternBlockFixed + 4 * b.OfPoints + b.TitleLen + b.EnvLen);
    if (b.Notes.size() > room) b.Notes.resize(room);
    b.NoteLen = static_cast<std::int16_t>(b.Notes.size());
    b.BlkLen = static_cast<std::int16_t>(BlockLength(b));
}

bool PatternReader::ReadByte(std::uint8_t& v) {
    if (Remaining() < 1) return false;
    v = static_cast<std::uint8_t>(bytes_[pos_++]);
    return true;
}

bool PatternReader::ReadInteger(std::int16_t& v) {
    if (Remaining() < 2) return false;
    const auto lo = static_cast<std::uint8_t>(bytes_[pos_]), hi = static_cast<std::uint8_t>(bytes_[pos_ + 1]);
    v = static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
    pos_ += 2;
    return true;
}

bool PatternReader::ReadSingle(float& v) {
    if (Remaining() < 4) return false;
    std::uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<std::uint8_t>(bytes_[pos_ + static_cast<std::size_t>(i)]);
    v = std::bit_cast<float>(u);
    pos_ += 4;
    return true;
}

bool PatternReader::ReadPatternText(std::size_t length, std::string& text) {
    if (Remaining() < length) return false;
    text.assign(bytes_.substr(pos_, length));
    pos_ += length;
    return true;
}

PatternRead ReadPatternHeader(PatternReader& in, PatternFileHeader& h) {
    if (in.AtEnd()) return PatternRead::End;
    if (in.Remaining() < kPatternHeaderFixed) return PatternRead::Invalid;
    in.ReadByte(h.version);
    in.ReadInteger(h.HeadLen);
    in.ReadByte(h.SrcLen);
    in.ReadByte(h.TitleLen);
    in.ReadByte(h.EnvLen);
    in.ReadInteger(h.NoteLen);
    if (h.NoteLen < 0 || h.HeadLen != HeaderLength(h)) return PatternRead::Invalid;
    if (!in.ReadPatternText(h.SrcLen, h.Source) || !in.ReadPatternText(h.TitleLen, h.Title) ||
        !in.ReadPatternText(h.EnvLen, h.Environ) || !in.ReadPatternText(static_cast<std::size_t>(h.NoteLen), h.Notes))
        return PatternRead::Invalid;
    return PatternRead::Ok;
}

PatternRead ReadPatternBlock(PatternReader& in, PatternBlock& b, std::size_t* start) {
    if (start) *start = in.Position();
    if (in.AtEnd()) return PatternRead::End;
    if (in.Remaining() < kPatternBlockFixed) return PatternRead::Invalid;
    in.ReadByte(b.BlkType);
    in.ReadInteger(b.BlkLen);
    in.ReadByte(b.TitleLen);
    in.ReadByte(b.EnvLen);
    in.ReadInteger(b.NoteLen);
    in.ReadSingle(b.Frequency);
    in.ReadByte(b.Plane);
    in.ReadSingle(b.PlaneAngle);
    in.ReadByte(b.SYMETRY);
    in.ReadInteger(b.OfPoints);
    in.ReadSingle(b.StartAngle);
    in.ReadSingle(b.AngleInc);
    if (b.OfPoints < 0 || b.OfPoints > kPatternMaxPoints || b.NoteLen < 0 || b.BlkLen != BlockLength(b))
        return PatternRead::Invalid;
    if (in.Remaining() < static_cast<std::size_t>(b.BlkLen - kPatternBlockFixed)) return PatternRead::Invalid;
    b.Data.fill(0);
    for (int i = 0; i < b.OfPoints; ++i) in.ReadSingle(b.Data[static_cast<std::size_t>(i)]);
    in.ReadPatternText(b.TitleLen, b.Title);
    in.ReadPatternText(b.EnvLen, b.Env);
    in.ReadPatternText(static_cast<std::size_t>(b.NoteLen), b.Notes);
    return PatternRead::Ok;
}

void WritePatternByte(std::string& out, std::uint8_t v) { out += static_cast<char>(v); }

void WritePatternInteger(std::string& out, std::int16_t v) {
    const auto u = static_cast<std::uint16_t>(v);
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
}

void WritePatternSingle(std::string& out, float v) {
    const auto u = std::bit_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) out += static_cast<char>((u >> (8 * i)) & 0xFF);
}

void WritePatternText(std::string& out, const std::string& text) { out += text; }

void WritePatternHeader(std::string& out, const PatternFileHeader& h) {
    WritePatternByte(out, h.version);
    WritePatternInteger(out, h.HeadLen);
    WritePatternByte(out, h.SrcLen);
    WritePatternByte(out, h.TitleLen);
    WritePatternByte(out, h.EnvLen);
    WritePatternInteger(out, h.NoteLen);
    WritePatternText(out, h.Source);
    WritePatternText(out, h.Title);
    WritePatternText(out, h.Environ);
    WritePatternText(out, h.Notes);
}

void WritePatternBlock(std::string& out, const PatternBlock& b) {
    WritePatternByte(out, b.BlkType);
    WritePatternInteger(out, b.BlkLen);
    WritePatternByte(out, b.TitleLen);
    WritePatternByte(out, b.EnvLen);
    WritePatternInteger(out, b.NoteLen);
    WritePatternSingle(out, b.Frequency);
    WritePatternByte(out, b.Plane);
    WritePatternSingle(out, b.PlaneAngle);
    WritePatternByte(out, b.SYMETRY);
    WritePatternInteger(out, b.OfPoints);
    WritePatternSingle(out, b.StartAngle);
    WritePatternSingle(out, b.AngleInc);
    const int n = std::clamp<int>(b.OfPoints, 0, kPatternMaxPoints);
    for (int i = 0; i < n; ++i) WritePatternSingle(out, b.Data[static_cast<std::size_t>(i)]);
    WritePatternText(out, b.Title);
    WritePatternText(out, b.Env);
    WritePatternText(out, b.Notes);
}

void DumpPatternHeader(DebugFile& d, const PatternFileHeader& h) {
    if (!d.IsOn()) return;
    d.Write("---------- Header -----------");
    d.Write("version  :" + Str(static_cast<int>(h.version)));
    d.Write("HeadLen  :" + Str(static_cast<int>(h.HeadLen)));
    d.Write("SrcLen   :" + Str(static_cast<int>(h.SrcLen)));
    d.Write("TitleLen :" + Str(static_cast<int>(h.TitleLen)));
    d.Write("EnvLen   :" + Str(static_cast<int>(h.EnvLen)));
    d.Write("NoteLen  :" + Str(static_cast<int>(h.NoteLen)));
    d.Write("Source   :" + h.Source);
    d.Write("Title    :" + h.Title);
    d.Write("Environ  :" + h.Environ);
    d.Write("Notes    :" + h.Notes);
}

void DumpPatternBlock(DebugFile& d, const PatternBlock& b, bool written) {
    if (!d.IsOn()) return;
    d.Write(written ? "---------- Block Write --------------" : "---------- Block Read --------------");
    d.Write("BlkType     :" + Str(static_cast<int>(b.BlkType)));
    d.Write("BlkLen      :" + Str(static_cast<int>(b.BlkLen)));
    d.Write("TitleLen    :" + Str(static_cast<int>(b.TitleLen)));
    d.Write("EnvLen      :" + Str(static_cast<int>(b.EnvLen)));
    d.Write("NoteLen     :" + Str(static_cast<int>(b.NoteLen)));
    d.Write("Frequency   :" + Str(b.Frequency));
    d.Write("Plane       :" + Str(static_cast<int>(b.Plane)));
    d.Write("PlaneAngle  :" + Str(b.PlaneAngle));
    d.Write("SYMETRY     :" + Str(static_cast<int>(b.SYMETRY)));
    d.Write("#OfPoints   :" + Str(static_cast<int>(b.OfPoints)));
    d.Write("StartAngle  :" + Str(b.StartAngle));
    d.Write("AngleInc    :" + Str(b.AngleInc));
    d.Write("Data        :");
    d.Write("Title  :" + b.Title);
    d.Write("Env    :" + b.Env);
    d.Write("Notes  :" + b.Notes);
}

}  // namespace qw

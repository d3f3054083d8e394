#include "plots/pattern_store.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "model/number_conversion.h"
#include "model/number_str.h"
#include "platform/file_read.h"
#include "platform/file_replace.h"
#include "platform/host.h"
#include "version.h"

namespace qw {

namespace {

constexpr const char* kPatternSource = "Quillwork Workshop, QUILLWORK";

std::optional<std::string> ReadWholeFile(const std::string& path) {
    FileContents file = ReadRegularFile(path);
    if (file.status != FileRead::Ok) return std::nullopt;
    return std::move(file.bytes);
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string ComparablePath(const std::string& path) {
    std::error_code ec;
    auto p = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
    return Lower(p.lexically_normal().string());
}

// The bytes of the file with the block stored, or nullopt when the file
// must be started anew.
std::optional<std::string> UpdatedFile(Context& ctx, const std::string& path, const PatternBlock& block) {
    if (ctx.project.Modified) return std::nullopt;
    auto bytes = ReadWholeFile(path);
    if (!bytes) return std::nullopt;
    PatternReader in(*bytes);
    PatternFileHeader header;
    if (ReadPatternHeader(in, header) != PatternRead::Ok) return std::nullopt;
    DumpPatternHeader(ctx.debug, header);
    if (header.version != PatternFileVersion()) return std::nullopt;
    std::string encoded;
    WritePatternBlock(encoded, block);
    for (;;) {
        PatternBlock old;
        std::size_t start = 0;
        const PatternRead r = ReadPatternBlock(in, old, &start);
        if (r == PatternRead::End) return *bytes + encoded;
        if (r == PatternRead::Invalid) return std::nullopt;
        DumpPatternBlock(ctx.debug, old, false);
        if (old.Plane == block.Plane) {
            bytes->replace(start, static_cast<std::size_t>(old.BlkLen), encoded);
            return bytes;
        }
    }
}

}  // namespace

std::string PatternFileName(const std::string& projectPath) {
    const std::filesystem::path p(projectPath);
    std::string name = p.filename().string();
    const auto dot = name.find('.');
    if (dot != std::string::npos) name.resize(dot);
    name += ".PF";
    return (p.parent_path() / name).string();
}

std::uint8_t PatternFileVersion() { return static_cast<std::uint8_t>(kVersionMajor * 10 + kVersionMinor); }

float TruncateTwoDecimals(float value) {
    const float scaled = value * 100.0f;
    if (!(std::fabs(scaled) < 2e9f)) return value;
    return static_cast<float>(IntPart(scaled)) / 100.0f;
}

PatternFileHeader MakePatternHeader(const Project& p, float cutAngle) {
    PatternFileHeader h;
    h.version = PatternFileVersion();
    h.Source = kPatternSource;
    h.Title = std::filesystem::path(p.FileName).filename().string();
    h.Environ = "Height = " + Str(p.Height) + "m";
    const Environment& e = p.Env;
    if (e.GroundPresent == kFreeSpace) {
        h.Notes = "Free Space";
    } else if (e.GroundKind == kPerfectGround) {
        h.Notes = "Perfect Ground";
    } else {
        h.Notes = "Angle = " + Str(cutAngle) + " deg.\r\nGround Diel. = " + Str(TruncateTwoDecimals(e.Dielectric())) +
                  "  Cond. = " + Str(TruncateTwoDecimals(e.Conductivity() * 1000.0f));
        if (e.RadialCount > 0)
            h.Notes += "\r\n" + Str(e.RadialCount) + " Radials of " + Str(e.RadialLength) + " m  (" +
                       Str(e.RadialLength * 3.28084f) + " ft)";
    }
    SetHeaderLengths(h);
    return h;
}

PatternBlock MakePatternBlock(const PatternCut& cut, int span, float startAngle, float step) {
    PatternBlock b;
    b.BlkType = static_cast<std::uint8_t>(cut.fieldType);
    b.Frequency = cut.frequency;
    b.Plane = static_cast<std::uint8_t>(cut.plane - 1);
    b.PlaneAngle = cut.cutAngle;
    b.StartAngle = startAngle;
    b.AngleInc = step;
    const float count = step > 0 ? std::clamp(static_cast<float>(span) / step, 0.0f, 361.0f) : 0.0f;
    const int n = CInt(count);
    b.OfPoints = static_cast<std::int16_t>(n);
    for (int i = 0; i < n; ++i) {
        const int q = std::clamp<int>(CInt(static_cast<float>(i) * step), 0, 360);
        float v = cut.values[static_cast<std::size_t>(q)];
        if (!cut.gainInDbi) v += 2.15f;
        b.Data[static_cast<std::size_t>(i)] = v;
    }
    SetBlockLengths(b);
    return b;
}

std::string SavePatternCut(Context& ctx, const PatternCut& cut, int span, float startAngle, float step) {
    const std::string path = PatternFileName(ctx.project.FileName);
    const PatternBlock block = MakePatternBlock(cut, span, startAngle, step);
    std::optional<std::string> bytes = UpdatedFile(ctx, path, block);
    if (!bytes) {
        const PatternFileHeader header = MakePatternHeader(ctx.project, cut.cutAngle);
        bytes.emplace();
        WritePatternHeader(*bytes, header);
        DumpPatternHeader(ctx.debug, header);
        WritePatternBlock(*bytes, block);
    }
    DumpPatternBlock(ctx.debug, block, true);
    return WriteFileReplacing(path, *bytes);
}

bool FindPatternBlock(Context& ctx, const std::string& path, int plotPlane, PatternFileHeader& header,
                      PatternBlock& block) {
    const auto bytes = ReadWholeFile(path);
    if (!bytes) return false;
    PatternReader in(*bytes);
    if (ReadPatternHeader(in, header) != PatternRead::Ok) return false;
    DumpPatternHeader(ctx.debug, header);
    while (ReadPatternBlock(in, block) == PatternRead::Ok) {
        DumpPatternBlock(ctx.debug, block, false);
        if (plotPlane == 0 || block.Plane + 1 == plotPlane) return true;
    }
    return false;
}

Result LoadPatternCut(Context& ctx, const std::string& chosenPath, int plotPlane, PatternFileHeader& header,
                      PatternBlock& block) {
    if (chosenPath.empty()) return Result::Cancelled();
    if (!ctx.project.FileName.empty() &&
        ComparablePath(chosenPath) == ComparablePath(PatternFileName(ctx.project.FileName)))
        return Result::Failed(FaultMessage("This is your current antenna"));
    if (!FindPatternBlock(ctx, chosenPath, plotPlane, header, block))
        return Result::Failed(FaultMessage("Pattern not found in file"));
    return {};
}

float ShownPlaneAngle(const PatternFileHeader& header, const PatternBlock& block) {
    if (block.Plane == 0 && header.Source.rfind("AO", 0) == 0) return 90 - block.PlaneAngle;
    return block.PlaneAngle;
}

}  // namespace qw

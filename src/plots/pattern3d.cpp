#include "plots/pattern3d.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>

#include "fields/far_field.h"
#include "fields/report_lines.h"
#include "model/format_mask.h"
#include "platform/file_read.h"
#include "platform/file_replace.h"
#include "solver/solver.h"
#include "solver/zm_compute.h"

namespace qw {

namespace {

constexpr int kRecordFloats = 1 + kPattern3DElevations;

void PutFloat(std::string& out, float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, 4);
    for (int b = 0; b < 4; ++b) out.push_back(static_cast<char>((bits >> (8 * b)) & 0xFF));
}

float GetFloat(const std::string& in, std::size_t at) {
    std::uint32_t bits = 0;
    for (int b = 0; b < 4; ++b) bits |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[at + b])) << (8 * b);
    float value = 0;
    std::memcpy(&value, &bits, 4);
    return value;
}

float Component(const Context& ctx, const FarFieldSetup& setup, int fieldType, float phi, float theta) {
    DirectionGains g;
    const float total = FieldAtDirection(ctx, setup, phi, theta, &g);
    if (fieldType == kHorizontalField) return g.horizontal;
    if (fieldType == kVerticalField) return g.vertical;
    return total;
}

}  // namespace

float Pattern3DGrid::Maximum() const {
    float m = -999;
    for (const auto& column : gain)
        for (float g : column) m = std::max(m, g);
    return m;
}

std::string Pattern3DFileName(const std::string& projectPath) {
    const std::filesystem::path p(projectPath);
    std::string name = p.filename().string();
    const auto dot = name.find('.');
    if (dot != std::string::npos) name.resize(dot);
    name += ".PLT";
    return (p.parent_path() / name).string();
}

std::string Pattern3DBytes(const Pattern3DGrid& grid) {
    std::string out;
    out.reserve(kPattern3DFileSize);
    for (int a = 0; a < kPattern3DAzimuths; ++a) {
        PutFloat(out, static_cast<float>(a * kPattern3DStep));
        for (float g : grid.gain[static_cast<std::size_t>(a)]) PutFloat(out, g);
    }
    return out;
}

bool ReadPattern3DFile(const std::string& path, Pattern3DGrid& grid) {
    const FileContents file = ReadRegularFile(path, kPattern3DFileSize * 4);
    if (file.status != FileRead::Ok || file.bytes.size() < kPattern3DFileSize) return false;
    Pattern3DGrid read = grid;
    for (std::size_t a = 0; a < kPattern3DAzimuths; ++a)
        for (std::size_t e = 0; e < kPattern3DElevations; ++e)
            read.gain[a][e] = GetFloat(file.bytes, (a * kRecordFloats + 1 + e) * 4);
    grid = read;
    return true;
}

Result ComputePattern3D(Context& ctx, int fieldType, Pattern3DGrid& grid, const std::function<void(double)>& progress) {
    // The ground, the wave number and the gain normaliser are prepared for
    // the solution standing now, and the gains asked for in dB.
    if (!PulsesCurrent(ctx))
        if (Result built = RefreshSolver(ctx); !built.completed()) return built;
    if (ctx.project.SourceCount > 0 && !SolutionCurrent(ctx))
        if (Result solved = ZMCompute(ctx); !solved.completed()) return solved;
    auto setup = std::make_unique<FarFieldSetup>();
    if (ctx.project.SourceCount == 0 || !PrepareFarField(ctx, *setup, true))
        return Result::Failed(FaultMessage("Power is Zero"));

    Pattern3DGrid computed;
    computed.fieldType = fieldType;
    computed.gainInDbi = setup->gainInDbi;
    ReportLines log(ctx, {});
    for (int a = 0; a < kPattern3DAzimuths; ++a) {
        const float phi = static_cast<float>(a * kPattern3DStep);
        std::string line = Format(phi, "Scientific");
        for (int e = 0; e < kPattern3DElevations; ++e) {
            const float theta = static_cast<float>(90 - e * kPattern3DStep);
            const float v = Component(ctx, *setup, fieldType, phi, theta);
            computed.gain[static_cast<std::size_t>(a)][static_cast<std::size_t>(e)] = v;
            line += " " + Format(v, "Scientific");
        }
        log.Write(line);
        const double done = static_cast<double>(a + 1) / kPattern3DAzimuths;
        if (progress) progress(done);
        ShowProgress(ctx, done);
        if (StopRequested(ctx)) return Result::Stopped();
    }

    const std::string path = Pattern3DFileName(ctx.project.FileName);
    const std::string why = WriteFileReplacing(path, Pattern3DBytes(computed));
    if (!why.empty()) {
        grid = computed;
        return Result::CompletedWith(
            FaultMessage("The 3D pattern file was not written: " + path + "\r\n" + why, "Pattern3D"));
    }
    Pattern3DGrid read = computed;
    if (!ReadPattern3DFile(path, read)) return Result::Failed(FaultMessage("Error reading pattern file"));
    grid = read;
    return Result::Completed();
}

}  // namespace qw

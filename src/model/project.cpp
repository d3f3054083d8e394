#include <cmath>
#include <filesystem>

#include "model/card_tokens.h"
#include "model/context.h"
#include "model/new_project.h"
#include "model/project.h"
#include "platform/host.h"

namespace qw {

void Environment::SetRealGround(float dielectric, float conductivity) {
    GroundMedia[1].Extent = kGroundMediumExtent;
    GroundMedia[1].Height = 0;
    GroundMedia[1].Dielectric = dielectric;
    GroundMedia[1].Conductivity = conductivity;
}

const GroundClass* FindGroundClass(float dielectric, float conductivity) {
    for (const auto& c : kGroundClasses)
        if (c.dielectric == dielectric && c.conductivity == conductivity) return &c;
    return nullptr;
}

std::string ProjectName(const Project& project) {
    return UpperAscii(std::filesystem::path(project.FileName).filename().string());
}

void NewProject(Context& ctx) {
    Project& p = ctx.project;
    p.WireCount = p.SourceCount = p.LoadCount = p.PulseCount = 0;
    p.Wires.fill(Wire{});
    p.Sources.fill(Source{});
    p.Loads.fill(Load{});
    p.Height = 0;
    p.Env = Environment{};
    p.Env.GroundMedia[1].Extent = kGroundMediumExtent;
    p.Env.GroundMedia[1].Height = 0;
    p.GroundDefined = p.FrequencyDefined = p.SourcesDefined = p.LoadsDefined = p.GeometryDefined = false;
    if (p.Frequency == 0) p.Frequency = ctx.options.DefaultFrequency;
    p.FileName.clear();
    p.ProjectText.clear();
    p.ProjectTextLines = 0;
    p.Modified = false;
    ctx.ChangedAll();
    ctx.farField = FarFieldRequest{};
    ctx.nearField = NearFieldRequest{};
}

}  // namespace qw

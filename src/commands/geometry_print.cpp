#include "commands/geometry_print.h"

#include <algorithm>

#include "model/format_mask.h"
#include "model/units.h"

namespace qw {

namespace {

constexpr std::size_t kWireWidth = 5;
constexpr std::size_t kCellWidth = 12;
constexpr std::size_t kSegWidth = 6;

std::string Right(std::string text, std::size_t width) {
    while (!text.empty() && text.front() == ' ') text.erase(0, 1);
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}

}  // namespace

std::vector<std::string> GeometryPrintLines(const GeometryTable& table) {
    const Context& ctx = table.context();
    const Project& p = ctx.project;
    std::string height = Format(FromMeters(table.Unit(), p.Frequency, p.Height), ctx.NumberFormat);
    height.erase(0, height.find_first_not_of(' '));
    std::vector<std::string> lines;
    lines.push_back("Geometry File : " + p.FileName + "  Units : " + UnitButtonCaption(table.Unit()) +
                    ", Height = " + height);
    lines.push_back("");
    std::string titles = Right(GeoColumnHeader(kColWire), kWireWidth);
    for (int c = kColX1; c <= kColDiam; ++c) titles += Right(GeoColumnHeader(c), kCellWidth);
    titles += Right(GeoColumnHeader(kColSeg), kSegWidth) + "  " + GeoColumnHeader(kColSrcLd);
    lines.push_back(titles);
    for (int row = 1; row <= table.Rows(); ++row) {
        std::string line = Right(table.CellText(row, kColWire), kWireWidth);
        for (int c = kColX1; c <= kColDiam; ++c) line += Right(table.CellText(row, c), kCellWidth);
        line += Right(table.CellText(row, kColSeg), kSegWidth) + "  " + table.CellText(row, kColSrcLd);
        while (!line.empty() && line.back() == ' ') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace qw

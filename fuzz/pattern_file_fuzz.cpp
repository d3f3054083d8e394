// Fuzz target: any bytes, read as a pattern file, must neither crash nor
// hang the reader; every block accepted has consistent lengths and writes
// back to exactly the bytes it was read from.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_require.h"
#include "plots/pattern_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    qw::PatternReader in(bytes);
    qw::PatternFileHeader header;
    if (qw::ReadPatternHeader(in, header) != qw::PatternRead::Ok) return 0;
    Require(in.Position() == static_cast<std::size_t>(header.HeadLen));
    std::string again;
    qw::WritePatternHeader(again, header);
    Require(again == bytes.substr(0, in.Position()));
    for (;;) {
        qw::PatternBlock block;
        std::size_t start = 0;
        if (qw::ReadPatternBlock(in, block, &start) != qw::PatternRead::Ok) break;
        Require(block.OfPoints >= 0 && block.OfPoints <= qw::kPatternMaxPoints);
        Require(in.Position() - start == static_cast<std::size_t>(block.BlkLen));
        std::string written;
        qw::WritePatternBlock(written, block);
        Require(written == bytes.substr(start, in.Position() - start));
    }
    return 0;
}

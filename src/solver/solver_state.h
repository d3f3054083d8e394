// The solver's state: the pulse table built from the wires, the frequency
// constants, the interaction matrix and its factors, the excitation and
// load tables, the pulse currents and the results of the last solution.
//
// The per-wire and per-pulse tables have fixed sizes (the capacity of the
// large-model option) and are 1-based (entry 0 unused); the interaction
// matrix is sized to the model when it is filled. Reals are 32-bit floats:
// the solver computes in single precision throughout.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/project.h"


namespace qw {

inline constexpr int kMaxBreakPoints = kPulseCapacity + 2 * kWireCapacity;
inline constexpr int kMatrixSize = kPulseCapacity + 1;  // entries 0..2000 of the per-pulse vectors

// A square table of floats, rows and columns 0..n, sized to the model. A
// row is reached through its pointer, so two rows are exchanged by
// exchanging their pointers (std::swap(t[k], t[p])). Each row starts on a
// 64-byte boundary and is padded to whole cache lines.
class SquareTable {
public:
    SquareTable() = default;
    SquareTable(const SquareTable& other) { *this = other; }
    SquareTable& operator=(const SquareTable& other);
    SquareTable(SquareTable&&) noexcept = default;
    SquareTable& operator=(SquareTable&&) noexcept = default;

    // Rows and columns 0..n. A new size gives a table of zeros (and
    // true); the same size keeps the table as it is (false).
    bool Resize(int n);
    // The largest row and column index (-1 before the first Resize).
    int Size() const { return n_; }
    // Floats held, padding included.
    std::size_t Floats() const { return rows_.size() * stride_; }

    float*& operator[](int i) { return rows_[static_cast<std::size_t>(i)]; }
    const float* operator[](int i) const { return rows_[static_cast<std::size_t>(i)]; }

private:
    // Frees a calloc block whose rows start `offset` bytes in, or a mapping
    // of `mapped` bytes.
    struct Free {
        Free() noexcept : offset(0), mapped(0) {}
        Free(std::size_t o, std::size_t m) noexcept : offset(o), mapped(m) {}
        std::size_t offset, mapped;
        void operator()(float* p) const;
    };
    int n_ = -1;
    std::size_t stride_ = 0;
    std::unique_ptr<float[], Free> store_;
    std::vector<float*> rows_;
};

// The discrete model of the wires.
struct PulseTable {
    int NW = 0;  // wires
    int N = 0;   // pulses
    unsigned Generation = 0;  // counts the builds of the table

    // Per wire w = 1..NW.
    std::array<float, kWireCapacity + 1> A{};   // radius used by the solver (scaled in NEC mode)
    std::array<float, kWireCapacity + 1> CA{};  // direction cosines, end 1 towards end 2
    std::array<float, kWireCapacity + 1> CB{};
    std::array<float, kWireCapacity + 1> CG{};
    std::array<float, kWireCapacity + 1> S{};   // segment length
    std::array<std::array<int, 3>, kWireCapacity + 1> Nw{};  // [w][1] first pulse, [w][2] last pulse
    std::array<int, kWireCapacity + 1> J1{};    // ground contact: -1 end 1, +1 end 2, 0 none
    std::array<std::array<int, 3>, kWireCapacity + 1> J2{};  // end contact marks: -w free, else a wire number

    // Per pulse i = 1..N.
    std::array<std::array<int, 3>, kPulseCapacity + 1> C{};  // [i][1], [i][2]: signed wire of each half
    std::array<int, kPulseCapacity + 1> W{};                 // the wire of the pulse

    // Break points p = 1..N + 2 NW.
    std::array<float, kMaxBreakPoints + 1> X{};
    std::array<float, kMaxBreakPoints + 1> Y{};
    std::array<float, kMaxBreakPoints + 1> Z{};

    // Wire ends as built (z with the height added): [w][1] end 1, [w][2] end 2.
    std::array<std::array<std::array<float, 3>, 3>, kWireCapacity + 1> Ends{};

    // Per wire end [w][e]: -1 on the plane z = 0, 0 free, else a wire that
    // has an end at the same place.
    std::array<std::array<int, 3>, kWireCapacity + 1> WireEndTable{};

    // Connection codes of the wire being built, handed from ConnectWireEnds
    // to DirCosine: 0 free, -w on the ground, else the signed touching wire.
    int I1 = 0, I2 = 0;

    // C as it stood before the listing replaced the zeros of free ends.
    std::array<std::array<int, 3>, kPulseCapacity + 1> RawC{};

    // Centre break point of pulse i.
    int Centre(int i) const { return 2 * W[i] - 1 + i; }
    // A pulse whose two halves are a wire and its own image (at the ground).
    bool IsGroundPulse(int i) const { return C[i][1] == -C[i][2]; }
};

// Constants derived from the frequency.
struct FrequencyConstants {
    float Lambda = 0;  // wavelength, m
    float S0 = 0;      // 0.001 lambda
    float M = 0;       // 4.77783352 lambda, scale of loads and sources
    float SRM = 0;     // 0.0001 lambda, the thin-wire radius limit
    float K = 0;       // wave number 2 pi / lambda
    float W2 = 0;      // K^2 / 2
};

// The results of one source in the last solution.
struct SourceResult {
    float zr = 0, zx = 0;  // input impedance, ohms
    float vr = 0, vi = 0;  // source voltage, volts
    float ir = 0, ii = 0;  // source current, amperes
    float power = 0;       // watts
};

// The document revisions the solver's tables were built for. A table never
// built matches no revision.
struct BuiltRevisions {
    static constexpr std::uint64_t kNever = ~std::uint64_t{0};
    std::uint64_t geometry = kNever;   // the pulse table
    std::uint64_t ground = kNever;     // the matrix's ground
    std::uint64_t frequency = kNever;  // the frequency constants
    std::uint64_t sources = kNever;    // the excitation table
    std::uint64_t loads = kNever;      // the load table
};

// What the fill keeps from one frequency to the next (term_kernels.h). A
// copy of the solver starts without it: it belongs to the solver that
// filled.
class FillRecording;
class FillCache {
public:
    FillCache() = default;
    FillCache(const FillCache&) {}
    FillCache& operator=(const FillCache&) {
        recording_.reset();
        return *this;
    }
    FillCache(FillCache&&) noexcept = default;
    FillCache& operator=(FillCache&&) noexcept = default;
    std::shared_ptr<FillRecording>& Recording() { return recording_; }

private:
    std::shared_ptr<FillRecording> recording_;
};

struct SolverState {
    PulseTable pulses;
    FrequencyConstants freq;
    BuiltRevisions built;
    // 0: the matrix must be filled; 1: the factors are valid but the
    // excitation changed; 2: solved.
    int MatrixState = 0;

    // The interaction matrix, later its LU factors: ZR[I][J] + j ZI[I][J].
    // Sized to the pulses by ClearMatrix.
    SquareTable ZR;
    SquareTable ZI;
    std::array<int, kMatrixSize> Pivot{};  // row exchanged with row k

    // Excitation table, s = 1..SourceCount.
    std::array<float, kMaxSources + 1> E{};  // pulse (0: no excitation)
    std::array<float, kMaxSources + 1> VR{};
    std::array<float, kMaxSources + 1> VI{};

    // Load table at the current frequency, l = 1..20.
    std::array<std::int32_t, kMaxLoads + 1> LoadPulse{};
    std::array<float, kMaxLoads + 1> Rl{};
    std::array<float, kMaxLoads + 1> Xl{};

    // Pulse currents (the right-hand side during the solution).
    std::array<float, kMatrixSize> CR{};
    std::array<float, kMatrixSize> CI{};

    // Results of the last solution.
    float ZinR = 0, ZinX = 0;  // input impedance of the last source reported
    float IinR = 0, IinI = 0;  // its current
    float Ps = 0;              // its power
    float Pin = 0;             // total input power
    std::array<SourceResult, kMaxSources + 1> SourceResults{};
    bool CurrentSourcePresent = false;

    // 1 far field, 2 near field (plain quadrature), 3 currents.
    int FieldMode = 1;

    // Threads that share the rows of the matrix fill and of the
    // factorisation; 0: every core for a matrix of 48 pulses or more. A
    // sweep worker, already one of several, works alone.
    int threads = 0;
    // Blocks of the matrix that repeat an earlier block bit for bit are
    // copied instead of filled (switched off only to test that they do).
    bool copyRepeatedBlocks = true;
    // The reference kernels: the literal arithmetic, one element after the
    // other on one thread, without remembered integrals or vector lanes. The
    // tests compare the fast kernels with it.
    bool referenceKernels = false;
    // Fills on one thread keep the frequency-free work of their rows (the
    // terms, the samples' distances, the rules, the memo's choices) and
    // take it again at the next frequency when it holds there (a sweep's
    // workers).
    bool keepFillAcrossFrequencies = false;
    FillCache fillCache;
};

}  // namespace qw

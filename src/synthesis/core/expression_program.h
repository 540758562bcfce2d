#pragma once
// The prepared form of an expression, shared by the reader that builds it
// (expression_compile.cpp) and the loop that runs it (expression.cpp). Not for other users.

#include "synthesis/core/expression.h"
#include "synthesis/core/expression_waves.h"

#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <tuple>
#include <vector>

namespace plotwell::synthesis::detail {

enum class Op : uint8_t {
    Neg,
    Add,
    Sub,
    Mul,
    Div,
    Pow,
    Sin,
    Cos,
    Asin,
    Acos,
    Exp,
    Log10,
    Ln,
    Sqrt,
    Abs,
    Floor,
    Ceil,
    Rnd,
    Pulse,
    Ecg,
    Wfm,
    Fail,
};

struct Instr {
    Op op;
    uint32_t dst = 0, a = 0, b = 0;
    uint32_t marker = 0; // where the scan stands when this step fails
    // Operands held in constant registers (every lane the same value): bit 0 for a, bit 1
    // for b; for pulse() and ecg(), bit 0 when every argument is. The block loops then read
    // one value instead of a whole register.
    uint8_t constant = 0;
    // The step's result is added to +0.0 before it is stored: a following "0 + x" of the
    // scan (a level's start value plus its first term) done in the same pass.
    uint8_t plusZero = 0;
};

// Plain element-wise steps: no check, no report, one value per lane.
inline bool isLaneStep(Op op) {
    return (op >= Op::Neg && op <= Op::Mul) || op == Op::Div || op == Op::Abs || op == Op::Floor ||
           op == Op::Ceil;
}

// ---- the arithmetic of each step, shared by folding and evaluation ----------------------

// The error a value check raises, or 0.
inline int32_t checkUnary(Op op, double n) {
    switch (op) {
    case Op::Asin:
        return (n < -1 || n > 1) ? ExprAsinDomain : 0;
    case Op::Acos:
        return (n < -1 || n > 1) ? ExprAcosDomain : 0;
    case Op::Log10:
        return n <= 0 ? ExprLogDomain : 0;
    case Op::Ln:
        return n <= 0 ? ExprLnDomain : 0;
    case Op::Sqrt:
        return n < 0 ? ExprSqrtDomain : 0;
    default:
        return 0;
    }
}

inline double applyUnary(Op op, double n, MathsErrorReporter* m) {
    switch (op) {
    case Op::Neg:
        return -n;
    case Op::Sin:
        return checkedSin(n, m);
    case Op::Cos:
        return checkedCos(n, m);
    case Op::Asin:
        return std::asin(n);
    case Op::Acos:
        return std::acos(n);
    case Op::Exp:
        return checkedExp(n, m);
    case Op::Log10:
        return std::log10(n);
    case Op::Ln:
        return std::log(n);
    case Op::Sqrt:
        return std::sqrt(n);
    case Op::Abs:
        return std::fabs(n);
    case Op::Floor:
        return std::floor(n);
    case Op::Ceil:
        return std::ceil(n);
    default:
        return 0;
    }
}

inline int32_t checkBinary(Op op, double b) {
    if (op == Op::Div && b == 0.0)
        return ExprDivideByZero;
    if (op == Op::Pow && b > 200.0)
        return ExprNumericOverflow;
    return 0;
}

inline double applyBinary(Op op, double a, double b, MathsErrorReporter* m) {
    switch (op) {
    case Op::Add:
        return a + b;
    case Op::Sub:
        return a - b;
    case Op::Mul:
        return a * b;
    case Op::Div:
        return a / b;
    case Op::Pow:
        return checkedPow(a, b, m);
    default:
        return 0;
    }
}

inline bool isBinary(Op op) {
    return op >= Op::Add && op <= Op::Pow;
}
inline bool isUnary(Op op) {
    return op == Op::Neg || (op >= Op::Sin && op <= Op::Ceil);
}

// One wfm() source as the program reads it.
struct WfmSource {
    const uint16_t* codes = nullptr;
    int64_t count = 0;
    int64_t selectionStart = 0;
    int64_t length = 0; // selection end - selection start + 1
    double rPrime = 1;
};

template <class Shape, std::size_t N> struct ShapeCache {
    std::array<double, N> args{};
    std::optional<Shape> shape;
    const Shape& get(double per, const std::array<double, N>& a) {
        // Compared bit for bit on purpose: a NaN argument must hit the cache, and -0.0 must not
        // reuse the shape made for +0.0.
        // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison)
        if (!shape || std::memcmp(args.data(), a.data(), sizeof(double) * N) != 0) {
            args = a;
            shape.emplace(per, a);
        }
        return *shape;
    }
};

} // namespace plotwell::synthesis::detail

namespace plotwell::synthesis {

struct ExpressionProgram::Impl {
    using Instr = detail::Instr;
    using Op = detail::Op;
    std::string text;
    ExpressionParameters params;
    std::vector<Instr> code;
    std::vector<uint32_t> argRegs;          // argument registers of pulse() and ecg()
    std::vector<detail::WfmSource> sources; // wfm() sources
    std::vector<detail::ShapeCache<PulseShape, 5>> pulses;
    std::vector<detail::ShapeCache<EcgShape, 13>> ecgs;
    uint32_t rndCount = 0;
    uint32_t result = 0; // register of the value
    uint32_t tReg = 0;   // register of the point number
    uint32_t registers = 0;
    std::vector<double> regs;   // registers x kLanes
    std::vector<double> rndBuf; // pre-drawn rnd values of a block, one row per rnd step

    double* R(uint32_t r) { return regs.data() + std::size_t(r) * kLanes; }

    template <bool Exact>
    bool run(int n, ExpressionRandom& random, MathsErrorReporter* maths, EvaluationResult* err);

    // pulse() or ecg() over n lanes; false when a lane's cycle count is not above 0.
    template <class Cache>
    bool shapeLanes(Cache& cache, const Instr& in, int n, double* d, MathsErrorReporter* maths) {
        constexpr std::size_t N = std::tuple_size_v<decltype(cache.args)>;
        std::array<double, N> args;
        const double* tv = R(tReg);
        if (in.constant) {
            // Every lane has the same arguments: one look at the cache serves the block.
            for (std::size_t j = 0; j < N; ++j)
                args[j] = R(argRegs[in.a + j])[0];
            if (args[N - 1] <= 0)
                return false;
            const auto& shape = cache.get(params.Per, args);
            for (int k = 0; k < n; ++k)
                d[k] = shape.at(tv[k], maths);
            return true;
        }
        for (int k = 0; k < n; ++k) {
            for (std::size_t j = 0; j < N; ++j)
                args[j] = R(argRegs[in.a + j])[k];
            if (args[N - 1] <= 0)
                return false;
            d[k] = cache.get(params.Per, args).at(tv[k], maths);
        }
        return true;
    }
};

// Reads `text` once and writes its program into `out`.
void compileExpression(std::string_view text, const ExpressionParameters& params,
                       const WaveformDirectory* waveforms, ExpressionProgram::Impl& out);

} // namespace plotwell::synthesis

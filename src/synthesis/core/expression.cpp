#include "synthesis/core/expression_program.h"

#include <cmath>
#include <cstring>

namespace plotwell::synthesis {

using namespace detail;

const WaveformView* WaveformDirectory::find(std::string_view name) const {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        if (it->name == name)
            return &it->view;
    return nullptr;
}

namespace {

// Element-wise loops over a fixed count, with unaliased pointers, so that the compiler
// vectorises them.
template <int N, class F> inline void lanes1(double* __restrict d, const double* __restrict a, F f) {
    for (int k = 0; k < N; ++k)
        d[k] = f(a[k]);
}
template <int N, class F>
inline void lanes2(double* __restrict d, const double* __restrict a, const double* __restrict b, F f) {
    for (int k = 0; k < N; ++k)
        d[k] = f(a[k], b[k]);
}
// A binary step whose operand a or b is a constant register reads that one value.
template <int N, class F>
inline void binaryLanes(uint8_t constant, double* __restrict d, const double* __restrict a,
                        const double* __restrict b, F f) {
    if (constant == 2) {
        const double y = b[0];
        for (int k = 0; k < N; ++k)
            d[k] = f(a[k], y);
    } else if (constant == 1) {
        const double x = a[0];
        for (int k = 0; k < N; ++k)
            d[k] = f(x, b[k]);
    } else {
        lanes2<N>(d, a, b, f);
    }
}

// The two shapes of an element-wise step, with the result added to +0.0 when the step
// took over a following "0 + x".
template <int N, class F> inline void unaryStep(const Instr& in, double* d, const double* a, F f) {
    if (in.plusZero)
        lanes1<N>(d, a, [f](double x) { return 0.0 + f(x); });
    else
        lanes1<N>(d, a, f);
}
template <int N, class F>
inline void binaryStep(const Instr& in, double* d, const double* a, const double* b, F f) {
    if (in.plusZero)
        binaryLanes<N>(in.constant, d, a, b, [f](double x, double y) { return 0.0 + f(x, y); });
    else
        binaryLanes<N>(in.constant, d, a, b, f);
}

} // namespace

template <bool Exact>
bool ExpressionProgram::Impl::run(int n, ExpressionRandom& random, MathsErrorReporter* maths,
                                  EvaluationResult* err) {
    // In a block, maths failures are only noted; a new one sends the block down the exact path.
    MathsErrorReporter probe;
    MathsErrorReporter* rep = Exact ? maths : &probe;
    auto failAt = [&](const Instr& in, int32_t code) {
        if (Exact && err) {
            err->value = 0;
            err->error = code;
            err->marker = in.marker;
        }
        return false;
    };
    // Plain arithmetic runs over every lane of the block (a fixed count the compiler can
    // vectorise); lanes past n hold leftovers that nobody reads. Checks and reports look at
    // the first n only.
    constexpr int M = Exact ? 1 : kLanes;
    for (const Instr& in : code) {
        // Only steps of one or two operands hold registers in a and b.
        const bool operands = isUnary(in.op) || isBinary(in.op);
        double* d = R(in.dst);
        const double* a = operands ? R(in.a) : nullptr;
        const double* b = isBinary(in.op) ? R(in.b) : nullptr;
        switch (in.op) {
        case Op::Neg:
            unaryStep<M>(in, d, a, [](double x) { return -x; });
            break;
        case Op::Add:
            binaryStep<M>(in, d, a, b, [](double x, double y) { return x + y; });
            break;
        case Op::Sub:
            binaryStep<M>(in, d, a, b, [](double x, double y) { return x - y; });
            break;
        case Op::Mul:
            binaryStep<M>(in, d, a, b, [](double x, double y) { return x * y; });
            break;
        case Op::Div: {
            bool bad = false;
            for (int k = 0; k < ((in.constant & 2) ? 1 : n); ++k)
                bad |= b[k] == 0.0;
            if (bad)
                return failAt(in, ExprDivideByZero);
            binaryStep<M>(in, d, a, b, [](double x, double y) { return x / y; });
            break;
        }
        case Op::Pow: {
            bool bad = false;
            for (int k = 0; k < n; ++k)
                bad |= b[k] > 200.0;
            if (bad)
                return failAt(in, ExprNumericOverflow);
            for (int k = 0; k < n; ++k)
                d[k] = checkedPowInline(a[k], b[k], rep);
            break;
        }
        case Op::Sin:
            for (int k = 0; k < n; ++k)
                d[k] = checkedSinInline(a[k], rep);
            break;
        case Op::Cos:
            for (int k = 0; k < n; ++k)
                d[k] = checkedCosInline(a[k], rep);
            break;
        case Op::Exp:
            for (int k = 0; k < n; ++k)
                d[k] = checkedExp(a[k], rep);
            break;
        case Op::Abs:
            unaryStep<M>(in, d, a, [](double x) { return std::fabs(x); });
            break;
        case Op::Floor:
            unaryStep<M>(in, d, a, [](double x) { return std::floor(x); });
            break;
        case Op::Ceil:
            unaryStep<M>(in, d, a, [](double x) { return std::ceil(x); });
            break;
        case Op::Asin:
        case Op::Acos:
        case Op::Log10:
        case Op::Ln:
        case Op::Sqrt: {
            for (int k = 0; k < n; ++k)
                if (int32_t e = checkUnary(in.op, a[k]))
                    return failAt(in, e);
            for (int k = 0; k < n; ++k)
                d[k] = applyUnary(in.op, a[k], rep);
            break;
        }
        case Op::Rnd:
            if (Exact) {
                d[0] = random.value();
            } else {
                const double* src = rndBuf.data() + std::size_t(in.a) * kLanes;
                for (int k = 0; k < n; ++k)
                    d[k] = src[k];
            }
            break;
        case Op::Pulse:
            if (!shapeLanes(pulses[in.b], in, n, d, rep))
                return failAt(in, ExprPulseCycles);
            break;
        case Op::Ecg:
            if (!shapeLanes(ecgs[in.b], in, n, d, rep))
                return failAt(in, ExprCardiacCycles);
            break;
        case Op::Wfm: {
            const WfmSource& src = sources[in.a];
            for (int k = 0; k < n; ++k) {
                const double t = R(tReg)[k];
                double v = 0.0;
                if (t >= 0 && t < double(src.length)) {
                    const int64_t idx = src.selectionStart + int64_t(t);
                    if (idx >= 0 && idx < src.count)
                        v = (double(src.codes[idx]) - src.rPrime) / src.rPrime;
                }
                d[k] = v;
            }
            break;
        }
        case Op::Fail:
            return failAt(in, int32_t(in.a));
        }
    }
    if (!Exact && maths && (probe.mask() & ~maths->mask()))
        return false;
    return true;
}

ExpressionProgram::ExpressionProgram(std::string_view text, const ExpressionParameters& params,
                                     const WaveformDirectory* waveforms)
    : impl_(std::make_unique<Impl>()) {
    // The text is a C string to the user: it ends at its first NUL.
    impl_->text = std::string(text.substr(0, text.find('\0')));
    impl_->params = params;
    compileExpression(impl_->text, impl_->params, waveforms, *impl_);
    impl_->rndBuf.assign(std::size_t(impl_->rndCount) * kLanes, 0.0);
}

ExpressionProgram::~ExpressionProgram() = default;
ExpressionProgram::ExpressionProgram(ExpressionProgram&&) noexcept = default;
ExpressionProgram& ExpressionProgram::operator=(ExpressionProgram&&) noexcept = default;

const std::string& ExpressionProgram::text() const {
    return impl_->text;
}
std::size_t ExpressionProgram::instructionCount() const {
    return impl_->code.size();
}

EvaluationResult ExpressionProgram::evaluate(double t, ExpressionRandom& random, MathsErrorReporter* maths) {
    Impl& m = *impl_;
    m.R(m.tReg)[0] = t;
    EvaluationResult r;
    if (m.run<true>(1, random, maths, &r))
        r.value = m.R(m.result)[0];
    return r;
}

int ExpressionProgram::evaluateBlock(double t0, int n, double* values, ExpressionRandom& random,
                                     MathsErrorReporter* maths, EvaluationResult* error) {
    Impl& m = *impl_;
    if (n <= 0)
        return 0;
    if (n > kLanes)
        n = kLanes;
    double* tv = m.R(m.tReg);
    for (int k = 0; k < n; ++k)
        tv[k] = t0 + double(k);
    const uint32_t saved = random.state();
    // rnd draws in the scanner's order: point by point, each point's draws in text order.
    for (int k = 0; k < n; ++k)
        for (uint32_t j = 0; j < m.rndCount; ++j)
            m.rndBuf[std::size_t(j) * kLanes + k] = random.value();
    if (m.run<false>(n, random, maths, nullptr)) {
        std::memcpy(values, m.R(m.result), sizeof(double) * std::size_t(n));
        return n;
    }
    // Something in this block fails or reports: take it point by point.
    random.setState(saved);
    for (int k = 0; k < n; ++k) {
        const EvaluationResult r = evaluate(t0 + double(k), random, maths);
        if (r.error) {
            if (error)
                *error = r;
            return k;
        }
        values[k] = r.value;
    }
    return n;
}

EvaluationResult evaluateExpression(std::string_view text, double t, const ExpressionParameters& params,
                                    ExpressionRandom* random, const WaveformDirectory* waveforms,
                                    MathsErrorReporter* maths) {
    ExpressionRandom fresh;
    ExpressionProgram program(text, params, waveforms);
    return program.evaluate(t, random ? *random : fresh, maths);
}

} // namespace plotwell::synthesis

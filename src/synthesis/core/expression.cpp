#include "synthesis/core/expression.h"

#include "synthesis/core/expression_waves.h"
#include "workspace/core/numtext.h"
#include "workspace/core/saturate.h"

#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <tuple>
#include <unordered_map>

namespace plotwell::synthesis {

const WaveformView* WaveformDirectory::find(std::string_view name) const {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        if (it->name == name)
            return &it->view;
    return nullptr;
}

namespace {

enum class Op : uint8_t {
    Neg, Add, Sub, Mul, Div, Pow,
    Sin, Cos, Asin, Acos, Exp, Log10, Ln, Sqrt, Abs, Floor, Ceil,
    Rnd, Pulse, Ecg, Wfm, Fail,
};

struct Instr {
    Op op;
    uint32_t dst = 0, a = 0, b = 0;
    uint32_t marker = 0; // where the scan stands when this step fails
};

// ---- the arithmetic of each step, shared by folding and evaluation ----------------------

// The error a value check raises, or 0.
inline int32_t checkUnary(Op op, double n) {
    switch (op) {
    case Op::Asin: return (n < -1 || n > 1) ? ExprAsinDomain : 0;
    case Op::Acos: return (n < -1 || n > 1) ? ExprAcosDomain : 0;
    case Op::Log10: return n <= 0 ? ExprLogDomain : 0;
    case Op::Ln: return n <= 0 ? ExprLnDomain : 0;
    case Op::Sqrt: return n < 0 ? ExprSqrtDomain : 0;
    default: return 0;
    }
}

inline double applyUnary(Op op, double n, MathsErrorReporter* m) {
    switch (op) {
    case Op::Neg: return -n;
    case Op::Sin: return checkedSin(n, m);
    case Op::Cos: return checkedCos(n, m);
    case Op::Asin: return std::asin(n);
    case Op::Acos: return std::acos(n);
    case Op::Exp: return checkedExp(n, m);
    case Op::Log10: return std::log10(n);
    case Op::Ln: return std::log(n);
    case Op::Sqrt: return std::sqrt(n);
    case Op::Abs: return std::fabs(n);
    case Op::Floor: return std::floor(n);
    case Op::Ceil: return std::ceil(n);
    default: return 0;
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
    case Op::Add: return a + b;
    case Op::Sub: return a - b;
    case Op::Mul: return a * b;
    case Op::Div: return a / b;
    case Op::Pow: return checkedPow(a, b, m);
    default: return 0;
    }
}

inline bool isBinary(Op op) { return op >= Op::Add && op <= Op::Pow; }
inline bool isUnary(Op op) { return op == Op::Neg || (op >= Op::Sin && op <= Op::Ceil); }

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
bool isWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

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
        if (!shape || std::memcmp(args.data(), a.data(), sizeof(double) * N) != 0) {
            args = a;
            shape.emplace(per, a);
        }
        return *shape;
    }
};

// Element-wise loops over a fixed count, with unaliased pointers, so that the compiler
// vectorises them.
template <int N, class F>
inline void lanes1(double* __restrict d, const double* __restrict a, F f) {
    for (int k = 0; k < N; ++k)
        d[k] = f(a[k]);
}
template <int N, class F>
inline void lanes2(double* __restrict d, const double* __restrict a, const double* __restrict b, F f) {
    for (int k = 0; k < N; ++k)
        d[k] = f(a[k], b[k]);
}

} // namespace

// ---- the program ------------------------------------------------------------------------

struct ExpressionProgram::Impl {
    std::string text;
    ExpressionParameters params;
    std::vector<Instr> code;
    std::vector<uint32_t> argRegs;   // argument registers of pulse() and ecg()
    std::vector<WfmSource> sources;  // wfm() sources
    std::vector<ShapeCache<PulseShape, 5>> pulses;
    std::vector<ShapeCache<EcgShape, 13>> ecgs;
    uint32_t rndCount = 0;
    uint32_t result = 0;  // register of the value
    uint32_t tReg = 0;    // register of the point number
    uint32_t registers = 0;
    std::vector<double> regs;    // registers x kLanes
    std::vector<double> rndBuf;  // pre-drawn rnd values of a block, one row per rnd step

    double* R(uint32_t r) { return regs.data() + std::size_t(r) * kLanes; }

    template <bool Exact>
    bool run(int n, ExpressionRandom& random, MathsErrorReporter* maths, EvaluationResult* err);

    // pulse() or ecg() over n lanes; false when a lane's cycle count is not above 0.
    template <class Cache> bool shapeLanes(Cache& cache, const Instr& in, int n, double* d) {
        constexpr std::size_t N = std::tuple_size_v<decltype(cache.args)>;
        std::array<double, N> args;
        const double* tv = R(tReg);
        for (int k = 0; k < n; ++k) {
            for (std::size_t j = 0; j < N; ++j)
                args[j] = R(argRegs[in.a + j])[k];
            if (args[N - 1] <= 0)
                return false;
            d[k] = cache.get(params.Per, args).at(tv[k]);
        }
        return true;
    }
};

namespace {

// Follows the scan over the text once and writes down its steps.
class Compiler {
public:
    Compiler(std::string_view text, const ExpressionParameters& p, const WaveformDirectory* dir,
             ExpressionProgram::Impl& out)
        : s_(text), p_(p), dir_(dir), out_(out) {}

    void compile() {
        vregs_.push_back({false, 0}); // virtual register 0: t
        zero_ = constant(0.0);
        const uint32_t v = level();
        resultV_ = failed_ ? zero_ : v;
        allocate();
    }

private:
    struct VReg {
        bool isConst;
        double value;
    };
    enum class Func : uint8_t { None, Sin, Cos, Asin, Acos, Exp, Log10, Ln, Sqrt, Abs, Floor, Ceil };

    char at(std::size_t k) const { return k < s_.size() ? s_[k] : '\0'; }
    char c() const { return at(i_); }
    void skipWhite() {
        while (isWhite(c()))
            ++i_;
    }
    bool match(const char* kw) const {
        const std::size_t n = std::strlen(kw);
        if (i_ + n > s_.size())
            return false;
        for (std::size_t k = 0; k < n; ++k)
            if (upper(s_[i_ + k]) != kw[k])
                return false;
        return true;
    }

    uint32_t constant(double v) {
        vregs_.push_back({true, v});
        return uint32_t(vregs_.size() - 1);
    }
    bool isConst(uint32_t v) const { return vregs_[v].isConst; }
    double constValue(uint32_t v) const { return vregs_[v].value; }

    void fail(int32_t code, std::size_t marker) {
        if (marker > s_.size())
            marker = s_.size();
        Instr in{Op::Fail};
        in.a = uint32_t(code);
        in.marker = uint32_t(marker);
        vcode_.push_back(in);
        failed_ = true;
    }

    uint32_t newValue() {
        vregs_.push_back({false, 0});
        return uint32_t(vregs_.size() - 1);
    }

    // A step of one or two operands; folded when its operands are constants and it can
    // neither fail nor report a maths error.
    uint32_t emit(Op op, uint32_t a, uint32_t b = 0) {
        if (isConst(a) && (isUnary(op) || isConst(b))) {
            MathsErrorReporter probe;
            double r = 0;
            int32_t err = 0;
            if (isUnary(op)) {
                err = checkUnary(op, constValue(a));
                if (!err)
                    r = applyUnary(op, constValue(a), &probe);
            } else {
                err = checkBinary(op, constValue(b));
                if (!err)
                    r = applyBinary(op, constValue(a), constValue(b), &probe);
            }
            if (!err && probe.mask() == 0)
                return constant(r);
        }
        Instr in{op};
        in.dst = newValue();
        in.a = a;
        in.b = b;
        in.marker = uint32_t(i_);
        vcode_.push_back(in);
        return in.dst;
    }

    uint32_t applyFunc(Func f, uint32_t v) {
        static constexpr Op ops[] = {Op::Neg,   Op::Sin, Op::Cos,  Op::Asin, Op::Acos,  Op::Exp,
                                     Op::Log10, Op::Ln,  Op::Sqrt, Op::Abs,  Op::Floor, Op::Ceil};
        return emit(ops[int(f)], v);
    }

    // One bracket level: the accumulator, the current operator, two pending slots, the
    // sign of the next operand and the function awaiting its bracket.
    uint32_t level() {
        struct Slot {
            char op = 0;
            uint32_t v = 0;
        };
        uint32_t acc = zero_;
        char op = '+';
        Slot s1, s2;
        bool neg = false;
        Func func = Func::None;
        bool have = false;
        uint32_t operand = 0;

        if (c() == '*' || c() == '/' || c() == '^') {
            fail(ExprSyntax, i_ + 1);
            return 0;
        }
        for (;;) {
            if (!have) {
                const char ch = c();
                if (ch == '\0') {
                    if (depth_ != 0) {
                        fail(ExprUnmatchedParenthesis, i_);
                        return 0;
                    }
                    return acc;
                }
                switch (ch) {
                case ' ':
                case '\t':
                    ++i_;
                    continue;
                case '(': {
                    if (depth_ >= ExpressionProgram::kMaxDepth) {
                        fail(ExprUnmatchedParenthesis, i_ + 1);
                        return 0;
                    }
                    ++depth_;
                    ++i_;
                    uint32_t v = level();
                    if (failed_)
                        return 0;
                    if (func != Func::None) {
                        v = applyFunc(func, v);
                        func = Func::None;
                    }
                    operand = neg ? emit(Op::Neg, v) : v;
                    neg = false;
                    have = true;
                    break;
                }
                case ')':
                    ++i_;
                    if (--depth_ < 0) {
                        fail(ExprUnmatchedParenthesis, i_);
                        return 0;
                    }
                    return acc;
                case ',':
                    return acc;
                case '+':
                case '-':
                case '*':
                case '/':
                case '^':
                    op = ch;
                    ++i_;
                    skipWhite();
                    if (c() == '-' || c() == '+') {
                        neg = c() == '-';
                        ++i_;
                    } else if (c() == '*' || c() == '/' || c() == '^') {
                        fail(ExprSyntax, i_ + 1);
                        return 0;
                    }
                    continue;
                default:
                    if (isDigit(ch) || ch == '.') {
                        std::size_t used = 0;
                        const double v = workspace::parseDoublePrefix(s_.substr(i_), &used).value_or(0.0);
                        i_ += used;
                        operand = constant(neg ? -v : v);
                        neg = false;
                        have = true;
                    } else if (isLetter(ch)) {
                        word(have, operand, func, neg);
                        if (failed_)
                            return 0;
                    } else {
                        fail(ExprSyntax, i_ + 1);
                        return 0;
                    }
                }
                skipWhite();
                if (!have)
                    continue;
            }
            // An operand stands; what follows must end it.
            const char la = c();
            if (!(la == '\0' || la == ')' || la == '*' || la == '+' || la == ',' || la == '-' || la == '/' ||
                  la == '^')) {
                fail(ExprOperatorExpected, i_);
                return 0;
            }
            for (;;) {
                if (op == '+' || op == '-') {
                    have = false;
                    if (la == '+' || la == '-' || la == ')' || la == '\0' || la == ',') {
                        acc = emit(op == '+' ? Op::Add : Op::Sub, acc, operand);
                    } else {
                        s2 = s1;
                        s1 = {op, acc};
                        acc = operand;
                    }
                    break;
                }
                if (op == '*' || op == '/') {
                    if (la == '^') {
                        s2 = s1;
                        s1 = {op, acc};
                        acc = operand;
                        have = false;
                        break;
                    }
                    acc = emit(op == '*' ? Op::Mul : Op::Div, acc, operand);
                } else {
                    acc = emit(Op::Pow, acc, operand);
                }
                if (s1.op) {
                    op = s1.op;
                    operand = acc;
                    acc = s1.v;
                    s1 = s2;
                    s2 = {};
                    continue;
                }
                have = false;
                break;
            }
        }
    }

    // A word at the cursor: its first letter chooses the keywords tried.
    void word(bool& have, uint32_t& operand, Func& func, bool& neg) {
        auto value = [&](uint32_t v, std::size_t len) {
            i_ += len;
            operand = neg ? emit(Op::Neg, v) : v;
            neg = false;
            have = true;
        };
        auto function = [&](Func f, std::size_t len) {
            i_ += len;
            if (c() != '(')
                fail(ExprOpenBracketExpected, i_);
            else
                func = f;
        };
        const bool lone = !isLetter(at(i_ + 1));
        switch (upper(c())) {
        case 'A':
            if (match("AMP"))
                value(constant(p_.Amp), 3);
            else if (match("ABS"))
                function(Func::Abs, 3);
            else if (match("ASIN"))
                function(Func::Asin, 4);
            else if (match("ACOS"))
                function(Func::Acos, 4);
            else
                fail(ExprSyntax, i_ + 2);
            break;
        case 'C':
            if (match("COS"))
                function(Func::Cos, 3);
            else if (match("CEIL"))
                function(Func::Ceil, 4);
            else
                fail(ExprSyntax, i_ + 2);
            break;
        case 'E':
            if (lone)
                value(constant(kExprE), 1);
            else if (match("EXP"))
                function(Func::Exp, 3);
            else if (match("ECG("))
                shape(4, 13, neg, have, operand);
            else
                fail(ExprSyntax, i_ + 1);
            break;
        case 'F':
            if (lone)
                value(constant(p_.F), 1);
            else if (match("FLOOR"))
                function(Func::Floor, 5);
            else
                fail(ExprSyntax, i_ + 1);
            break;
        case 'L':
            if (match("LOG"))
                function(Func::Log10, 3);
            else if (match("LN"))
                function(Func::Ln, 2);
            else
                fail(ExprSyntax, i_);
            break;
        case 'O':
            if (match("OMG"))
                value(constant(p_.Omg), 3);
            else
                fail(ExprSyntax, i_);
            break;
        case 'P':
        case 'T':
            if (lone)
                value(0, 1);
            else if (match("PI"))
                value(constant(kExprPi), 2);
            else if (match("PER"))
                value(constant(p_.Per), 3);
            else if (match("PULSE("))
                shape(6, 5, neg, have, operand);
            else
                fail(ExprSyntax, i_ + 1);
            break;
        case 'R':
            if (match("RND")) {
                Instr in{Op::Rnd};
                in.dst = newValue();
                in.a = out_.rndCount++;
                in.marker = uint32_t(i_);
                vcode_.push_back(in);
                value(in.dst, 3);
            } else {
                fail(ExprSyntax, i_);
            }
            break;
        case 'S':
            if (match("SIN"))
                function(Func::Sin, 3);
            else if (match("SQRT"))
                function(Func::Sqrt, 4);
            else
                fail(ExprSyntax, i_ + 2);
            break;
        case 'W':
            if (match("WFM"))
                wfm(neg, have, operand);
            else
                fail(ExprSyntax, i_);
            break;
        default:
            fail(ExprSyntax, i_ + 1);
        }
    }

    // pulse( or ecg( at the cursor: `count` arguments separated by commas, the last one
    // closing the bracket.
    void shape(std::size_t nameLength, int count, bool& neg, bool& have, uint32_t& operand) {
        if (depth_ >= ExpressionProgram::kMaxDepth) {
            fail(ExprUnmatchedParenthesis, i_ + nameLength);
            return;
        }
        i_ += nameLength;
        ++depth_;
        std::vector<uint32_t> args;
        for (int k = 0; k < count; ++k) {
            const uint32_t v = level();
            if (failed_)
                return;
            args.push_back(v);
            if (k < count - 1) {
                if (c() != ',') {
                    fail(ExprCommaExpected, i_);
                    return;
                }
                ++i_;
            } else if (!(i_ > 0 && s_[i_ - 1] == ')')) {
                fail(ExprUnmatchedParenthesis, i_);
                return;
            }
        }
        // Taken after the arguments: a shape inside them has added its own.
        const std::size_t first = out_.argRegs.size();
        out_.argRegs.insert(out_.argRegs.end(), args.begin(), args.end());
        Instr in{count == 5 ? Op::Pulse : Op::Ecg};
        in.dst = newValue();
        in.a = uint32_t(first);
        if (count == 5) {
            in.b = uint32_t(out_.pulses.size());
            out_.pulses.emplace_back();
        } else {
            in.b = uint32_t(out_.ecgs.size());
            out_.ecgs.emplace_back();
        }
        in.marker = uint32_t(i_);
        vcode_.push_back(in);
        operand = neg ? emit(Op::Neg, in.dst) : in.dst;
        neg = false;
        have = true;
    }

    void wfm(bool& neg, bool& have, uint32_t& operand) {
        i_ += 3;
        if (c() != '(') {
            fail(ExprOpenBracketExpected, i_);
            return;
        }
        ++i_;
        // The name runs to the first ')' or the end of the text; its brackets are not levels.
        const std::size_t close = s_.find(')', i_);
        const std::string_view name =
            close == std::string_view::npos ? s_.substr(i_) : s_.substr(i_, close - i_);
        i_ = close == std::string_view::npos ? s_.size() : close + 1;
        const WaveformView* view = dir_ ? dir_->find(name) : nullptr;
        if (!view) {
            fail(ExprNoSuchWaveform, i_);
            return;
        }
        if (!view->samples || !view->samples->hasPoints()) {
            fail(ExprWaveformEmpty, i_);
            return;
        }
        WfmSource src;
        src.codes = view->samples->codes().data();
        src.count = view->samples->count();
        src.selectionStart = view->selectionStart;
        src.length = int64_t(view->selectionEnd) - int64_t(view->selectionStart) + 1;
        src.rPrime = double(view->samples->midCode());
        Instr in{Op::Wfm};
        in.dst = newValue();
        in.a = uint32_t(out_.sources.size());
        out_.sources.push_back(src);
        in.marker = uint32_t(i_);
        vcode_.push_back(in);
        operand = neg ? emit(Op::Neg, in.dst) : in.dst;
        neg = false;
        have = true;
    }

    // Gives the values physical registers: constants one each (equal constants share),
    // computed values reuse registers whose last reader has passed.
    void allocate() {
        std::vector<int64_t> lastUse(vregs_.size(), -1);
        auto use = [&](uint32_t v, int64_t at) { lastUse[v] = at; };
        for (std::size_t k = 0; k < vcode_.size(); ++k) {
            const Instr& in = vcode_[k];
            if (isUnary(in.op) || isBinary(in.op))
                use(in.a, int64_t(k));
            if (isBinary(in.op))
                use(in.b, int64_t(k));
            if (in.op == Op::Pulse || in.op == Op::Ecg) {
                const int n = in.op == Op::Pulse ? 5 : 13;
                for (int j = 0; j < n; ++j)
                    use(out_.argRegs[in.a + j], int64_t(k));
            }
        }
        lastUse[resultV_] = int64_t(vcode_.size());

        std::vector<uint32_t> phys(vregs_.size(), 0);
        std::vector<double> constValues;
        std::unordered_map<uint64_t, uint32_t> constByBits;
        uint32_t next = 1; // 0 is t
        for (std::size_t v = 1; v < vregs_.size(); ++v) {
            if (!vregs_[v].isConst || lastUse[v] < 0)
                continue;
            uint64_t bits;
            std::memcpy(&bits, &vregs_[v].value, sizeof bits);
            auto [it, added] = constByBits.emplace(bits, next);
            if (added) {
                constValues.push_back(vregs_[v].value);
                ++next;
            }
            phys[v] = it->second;
        }
        std::vector<uint32_t> freeRegs;
        auto release = [&](uint32_t v, int64_t k) {
            if (v != 0 && !vregs_[v].isConst && lastUse[v] == k)
                freeRegs.push_back(phys[v]);
        };
        out_.code.clear();
        for (std::size_t k = 0; k < vcode_.size(); ++k) {
            Instr in = vcode_[k];
            const Instr virt = in;
            const bool pure = isUnary(in.op) || isBinary(in.op);
            if (pure) {
                in.a = phys[in.a];
                if (isBinary(in.op))
                    in.b = phys[in.b];
            }
            // The result never shares a register with an operand of its own step, so the
            // block loops may treat their pointers as unaliased.
            if (in.op != Op::Fail) {
                uint32_t r;
                if (!freeRegs.empty()) {
                    r = freeRegs.back();
                    freeRegs.pop_back();
                } else {
                    r = next++;
                }
                phys[in.dst] = r;
                in.dst = r;
            }
            if (pure) {
                release(virt.a, int64_t(k));
                if (isBinary(virt.op) && virt.b != virt.a)
                    release(virt.b, int64_t(k));
            } else if (in.op == Op::Pulse || in.op == Op::Ecg) {
                const int n = in.op == Op::Pulse ? 5 : 13;
                for (int j = 0; j < n; ++j) {
                    const uint32_t v = out_.argRegs[in.a + j];
                    bool seen = false;
                    for (int q = 0; q < j; ++q)
                        seen |= out_.argRegs[in.a + q] == v;
                    if (!seen)
                        release(v, int64_t(k));
                }
            }
            out_.code.push_back(in);
        }
        // Shape arguments are read through their table; a register is reused only after the
        // shape that reads it, so the final mapping holds for the table.
        for (auto& r : out_.argRegs)
            r = phys[r];
        out_.result = phys[resultV_];
        out_.tReg = 0;
        out_.registers = next;
        out_.regs.assign(std::size_t(next) * ExpressionProgram::kLanes, 0.0);
        for (uint32_t k = 0; k < constValues.size(); ++k)
            std::fill_n(out_.R(1 + k), ExpressionProgram::kLanes, constValues[k]);
    }

    std::string_view s_;
    const ExpressionParameters& p_;
    const WaveformDirectory* dir_;
    ExpressionProgram::Impl& out_;
    std::size_t i_ = 0;
    int depth_ = 0;
    bool failed_ = false;
    uint32_t zero_ = 0;
    uint32_t resultV_ = 0;
    std::vector<VReg> vregs_;
    std::vector<Instr> vcode_;
};

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
            lanes1<M>(d, a, [](double x) { return -x; });
            break;
        case Op::Add:
            lanes2<M>(d, a, b, [](double x, double y) { return x + y; });
            break;
        case Op::Sub:
            lanes2<M>(d, a, b, [](double x, double y) { return x - y; });
            break;
        case Op::Mul:
            lanes2<M>(d, a, b, [](double x, double y) { return x * y; });
            break;
        case Op::Div: {
            bool bad = false;
            for (int k = 0; k < n; ++k)
                bad |= b[k] == 0.0;
            if (bad)
                return failAt(in, ExprDivideByZero);
            lanes2<M>(d, a, b, [](double x, double y) { return x / y; });
            break;
        }
        case Op::Pow: {
            bool bad = false;
            for (int k = 0; k < n; ++k)
                bad |= b[k] > 200.0;
            if (bad)
                return failAt(in, ExprNumericOverflow);
            for (int k = 0; k < n; ++k)
                d[k] = checkedPow(a[k], b[k], rep);
            break;
        }
        case Op::Sin:
            for (int k = 0; k < n; ++k)
                d[k] = checkedSin(a[k], rep);
            break;
        case Op::Cos:
            for (int k = 0; k < n; ++k)
                d[k] = checkedCos(a[k], rep);
            break;
        case Op::Exp:
            for (int k = 0; k < n; ++k)
                d[k] = checkedExp(a[k], rep);
            break;
        case Op::Abs:
            lanes1<M>(d, a, [](double x) { return std::fabs(x); });
            break;
        case Op::Floor:
            lanes1<M>(d, a, [](double x) { return std::floor(x); });
            break;
        case Op::Ceil:
            lanes1<M>(d, a, [](double x) { return std::ceil(x); });
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
            if (!shapeLanes(pulses[in.b], in, n, d))
                return failAt(in, ExprPulseCycles);
            break;
        case Op::Ecg:
            if (!shapeLanes(ecgs[in.b], in, n, d))
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
    Compiler(impl_->text, impl_->params, waveforms, *impl_).compile();
    impl_->rndBuf.assign(std::size_t(impl_->rndCount) * kLanes, 0.0);
}

ExpressionProgram::~ExpressionProgram() = default;
ExpressionProgram::ExpressionProgram(ExpressionProgram&&) noexcept = default;
ExpressionProgram& ExpressionProgram::operator=(ExpressionProgram&&) noexcept = default;

const std::string& ExpressionProgram::text() const { return impl_->text; }
std::size_t ExpressionProgram::instructionCount() const { return impl_->code.size(); }

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

#include "synthesis/core/expression_program.h"

#include "common/numtext.h"

#include <cmath>
#include <cstring>
#include <unordered_map>

namespace plotwell::synthesis {

using namespace detail;

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
char upper(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}
bool isWhite(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

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
        // "0 + x" right after the step that made x (each level starts from 0, so every
        // bracket pays one): the step adds the +0.0 itself. x is used nowhere else, since
        // nothing has been emitted after it.
        if (op == Op::Add && isConst(a) != isConst(b)) {
            const uint32_t x = isConst(a) ? b : a;
            const double zero = constValue(isConst(a) ? a : b);
            if (zero == 0.0 && !std::signbit(zero) && !vcode_.empty() && vcode_.back().dst == x &&
                isLaneStep(vcode_.back().op)) {
                vcode_.back().plusZero = 1;
                return x;
            }
        }
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
                        const double v = common::parseDoublePrefix(s_.substr(i_), &used).value_or(0.0);
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
                in.constant = vregs_[virt.a].isConst ? 1 : 0;
                if (isBinary(in.op)) {
                    in.b = phys[in.b];
                    in.constant |= vregs_[virt.b].isConst ? 2 : 0;
                }
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
                // Arguments that are all constants make one shape for every lane.
                bool allConstant = true;
                for (int j = 0; j < n; ++j)
                    allConstant &= vregs_[out_.argRegs[in.a + j]].isConst;
                in.constant = allConstant ? 1 : 0;
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

void compileExpression(std::string_view text, const ExpressionParameters& params,
                       const WaveformDirectory* waveforms, ExpressionProgram::Impl& out) {
    Compiler(text, params, waveforms, out).compile();
}

} // namespace plotwell::synthesis

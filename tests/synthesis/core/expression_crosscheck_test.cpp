// The prepared-once evaluator against a direct scanner that reads the text afresh for
// every point, written straight from the language's definition. Both must give the same
// value, error code and marker, draw the same rnd numbers and report the same maths errors.

#include "common/numtext.h"
#include "synthesis/core/expression.h"
#include "synthesis/core/expression_waves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

using namespace plotwell::synthesis;
using plotwell::workspace::SampleStream;

namespace {

class ReferenceScanner {
public:
    ReferenceScanner(const std::string& text, const ExpressionParameters& p, ExpressionRandom& rnd,
                     const WaveformDirectory* dir, MathsErrorReporter* maths)
        : s_(text.substr(0, text.find('\0'))), p_(p), rnd_(rnd), dir_(dir), maths_(maths) {}

    EvaluationResult point(double t) {
        t_ = t;
        cur_ = 0;
        depth_ = 0;
        err_ = 0;
        const double v = level();
        if (err_)
            return {0.0, err_, std::min(cur_, s_.size())};
        return {v, 0, 0};
    }

private:
    char ch(std::size_t k) const { return k < s_.size() ? s_[k] : '\0'; }
    char c() const { return ch(cur_); }
    static bool letter(char x) { return (x >= 'a' && x <= 'z') || (x >= 'A' && x <= 'Z'); }
    static bool white(char x) { return x && std::strchr(" \t\n\v\f\r", x); }
    void skip() {
        while (white(c()))
            ++cur_;
    }
    bool kw(const char* k) const {
        for (std::size_t j = 0; k[j]; ++j) {
            char x = ch(cur_ + j);
            if (x >= 'a' && x <= 'z')
                x = char(x - 32);
            if (x != k[j])
                return false;
        }
        return true;
    }
    double error(int code, std::size_t marker) {
        err_ = code;
        cur_ = marker;
        return 0.0;
    }

    double level() {
        double acc = 0, operand = 0;
        char op = '+', s1op = 0, s2op = 0;
        double s1v = 0, s2v = 0;
        char sign = '+';
        int func = 0; // index into "sin cos asin acos exp log ln sqrt abs floor ceil" + 1
        bool have = false;
        if (c() == '*' || c() == '/' || c() == '^')
            return error(3, cur_ + 1);
        for (;;) {
            if (c() == '\0' && !have) {
                if (depth_ != 0)
                    return error(1, cur_);
                return acc;
            }
            if (!have) {
                const char x = c();
                if (x == ' ' || x == '\t') {
                    ++cur_;
                    continue;
                } else if (x == '(') {
                    if (depth_ >= 127)
                        return error(1, cur_ + 1);
                    ++depth_;
                    ++cur_;
                    double v = level();
                    if (err_)
                        return 0.0;
                    if (func) {
                        v = apply(func, v);
                        if (err_)
                            return 0.0;
                    }
                    operand = sign == '-' ? -v : v;
                    func = 0;
                    sign = '+';
                    have = true;
                } else if (x == ')') {
                    ++cur_;
                    if (--depth_ < 0)
                        return error(1, cur_);
                    return acc;
                } else if (x == ',') {
                    return acc;
                } else if (std::strchr("+-*/^", x)) {
                    op = x;
                    ++cur_;
                    skip();
                    if (c() == '-' || c() == '+') {
                        sign = c();
                        ++cur_;
                    } else if (c() == '*' || c() == '/' || c() == '^') {
                        return error(3, cur_ + 1);
                    }
                    continue;
                } else if ((x >= '0' && x <= '9') || x == '.') {
                    std::size_t used = 0;
                    const double v =
                        plotwell::common::parseDoublePrefix(std::string_view(s_).substr(cur_), &used)
                            .value_or(0);
                    cur_ += used;
                    operand = sign == '-' ? -v : v;
                    sign = '+';
                    have = true;
                } else if (letter(x)) {
                    double v = 0;
                    const int r = word(v, func);
                    if (err_)
                        return 0.0;
                    if (r == 1) {
                        operand = sign == '-' ? -v : v;
                        sign = '+';
                        have = true;
                    }
                } else {
                    return error(3, cur_ + 1);
                }
                skip();
                if (!have)
                    continue;
            }
            const char la = c();
            if (!(la == '\0' || std::strchr(")*+,-/^", la)))
                return error(4, cur_);
            for (;;) {
                if (op == '+' || op == '-') {
                    have = false;
                    if (la == '+' || la == '-' || la == ')' || la == '\0' || la == ',') {
                        acc = op == '+' ? acc + operand : acc - operand;
                    } else {
                        s2op = s1op, s2v = s1v;
                        s1op = op, s1v = acc;
                        acc = operand;
                    }
                    break;
                }
                if (op == '*' || op == '/') {
                    if (la == '^') {
                        s2op = s1op, s2v = s1v;
                        s1op = op, s1v = acc;
                        acc = operand;
                        have = false;
                        break;
                    }
                    if (op == '/' && operand == 0.0)
                        return error(5, cur_);
                    acc = op == '*' ? acc * operand : acc / operand;
                } else {
                    if (operand > 200.0)
                        return error(12, cur_);
                    acc = checkedPow(acc, operand, maths_);
                }
                if (s1op) {
                    op = s1op;
                    operand = acc;
                    acc = s1v;
                    s1op = s2op, s1v = s2v;
                    s2op = 0;
                    continue;
                }
                have = false;
                break;
            }
        }
    }

    double apply(int f, double n) {
        switch (f) {
        case 1:
            return checkedSin(n, maths_);
        case 2:
            return checkedCos(n, maths_);
        case 3:
            return (n < -1 || n > 1) ? error(9, cur_) : std::asin(n);
        case 4:
            return (n < -1 || n > 1) ? error(10, cur_) : std::acos(n);
        case 5:
            return checkedExp(n, maths_);
        case 6:
            return n <= 0 ? error(8, cur_) : std::log10(n);
        case 7:
            return n <= 0 ? error(7, cur_) : std::log(n);
        case 8:
            return n < 0 ? error(11, cur_) : std::sqrt(n);
        case 9:
            return std::fabs(n);
        case 10:
            return std::floor(n);
        default:
            return std::ceil(n);
        }
    }

    // 1: an operand in v; 0: a function code recorded; errors through err_.
    int word(double& v, int& func) {
        const bool lone = !letter(ch(cur_ + 1));
        auto fn = [&](int code, std::size_t len) {
            cur_ += len;
            if (c() != '(')
                error(2, cur_);
            else
                func = code;
            return 0;
        };
        auto val = [&](double x, std::size_t len) {
            cur_ += len;
            v = x;
            return 1;
        };
        char first = c();
        if (first >= 'a' && first <= 'z')
            first = char(first - 32);
        switch (first) {
        case 'A':
            if (kw("AMP"))
                return val(p_.Amp, 3);
            if (kw("ABS"))
                return fn(9, 3);
            if (kw("ASIN"))
                return fn(3, 4);
            if (kw("ACOS"))
                return fn(4, 4);
            return error(3, cur_ + 2), 0;
        case 'C':
            if (kw("COS"))
                return fn(2, 3);
            if (kw("CEIL"))
                return fn(11, 4);
            return error(3, cur_ + 2), 0;
        case 'E':
            if (lone)
                return val(2.71828182845904, 1);
            if (kw("EXP"))
                return fn(5, 3);
            if (kw("ECG(")) {
                cur_ += 4;
                return shape<13>(v);
            }
            return error(3, cur_ + 1), 0;
        case 'F':
            if (lone)
                return val(p_.F, 1);
            if (kw("FLOOR"))
                return fn(10, 5);
            return error(3, cur_ + 1), 0;
        case 'L':
            if (kw("LOG"))
                return fn(6, 3);
            if (kw("LN"))
                return fn(7, 2);
            return error(3, cur_), 0;
        case 'O':
            if (kw("OMG"))
                return val(p_.Omg, 3);
            return error(3, cur_), 0;
        case 'P':
        case 'T':
            if (lone)
                return val(t_, 1);
            if (kw("PI"))
                return val(3.14159265358979, 2);
            if (kw("PER"))
                return val(p_.Per, 3);
            if (kw("PULSE(")) {
                cur_ += 6;
                return shape<5>(v);
            }
            return error(3, cur_ + 1), 0;
        case 'R':
            if (kw("RND"))
                return val(rnd_.value(), 3);
            return error(3, cur_), 0;
        case 'S':
            if (kw("SIN"))
                return fn(1, 3);
            if (kw("SQRT"))
                return fn(8, 4);
            return error(3, cur_ + 2), 0;
        case 'W':
            if (kw("WFM"))
                return wfm(v);
            return error(3, cur_), 0;
        default:
            return error(3, cur_ + 1), 0;
        }
    }

    template <std::size_t N> int shape(double& v) {
        if (depth_ >= 127)
            return error(1, cur_), 0;
        ++depth_;
        std::array<double, N> a;
        for (std::size_t k = 0; k < N; ++k) {
            a[k] = level();
            if (err_)
                return 0;
            if (k + 1 < N) {
                if (c() != ',')
                    return error(13, cur_), 0;
                ++cur_;
            } else if (!(cur_ > 0 && s_[cur_ - 1] == ')')) {
                return error(1, cur_), 0;
            }
        }
        if (a[N - 1] <= 0)
            return error(N == 5 ? 6 : 16, cur_), 0;
        if constexpr (N == 5)
            v = PulseShape(p_.Per, a).at(t_, maths_);
        else
            v = EcgShape(p_.Per, a).at(t_, maths_);
        return 1;
    }

    int wfm(double& v) {
        cur_ += 3;
        if (c() != '(')
            return error(2, cur_), 0;
        ++cur_;
        std::string name;
        while (c() && c() != ')')
            name += s_[cur_++];
        if (c() == ')')
            ++cur_;
        const WaveformView* w = dir_ ? dir_->find(name) : nullptr;
        if (!w)
            return error(14, cur_), 0;
        if (!w->samples || w->samples->byteLength() < 4)
            return error(15, cur_), 0;
        const double r = w->samples->midCode();
        v = 0;
        if (t_ >= 0 && t_ < double(w->selectionEnd - w->selectionStart + 1)) {
            const long idx = w->selectionStart + long(t_);
            if (idx >= 0 && idx < w->samples->count())
                v = (w->samples->code(std::size_t(idx)) - r) / r;
        }
        return 1;
    }

    std::string s_;
    const ExpressionParameters& p_;
    ExpressionRandom& rnd_;
    const WaveformDirectory* dir_;
    MathsErrorReporter* maths_;
    std::size_t cur_ = 0;
    int depth_ = 0;
    int err_ = 0;
    double t_ = 0;
};

// Random texts from the grammar, with a sprinkling of mistakes.
class Grammar {
public:
    explicit Grammar(uint32_t seed) : rng_(seed) {}

    std::string expression(int depth = 0) {
        std::string out = pick(4) == 0 ? pickOf({"-", "+", " -", ""}) : "";
        const int terms = 1 + pick(depth > 2 ? 2 : 4);
        for (int k = 0; k < terms; ++k) {
            if (k)
                out += pickOf({"+", "-", "*", "/", "^", " + ", "*-", "^-", "/ ", "--"});
            out += operand(depth);
        }
        if (pick(40) == 0)
            out += pickOf({"*", ")", ",", " 3", "x", "(", "**", ".", "e"});
        return out;
    }

private:
    int pick(int n) { return int(rng_() % uint32_t(n)); }
    std::string pickOf(std::initializer_list<const char*> items) {
        auto it = items.begin();
        std::advance(it, pick(int(items.size())));
        return *it;
    }
    std::string number() {
        static const char* nums[] = {"0",   "1",      "2",   "3",  "0.5", "10",    "200",  "200.5",
                                     "1e3", "2.5e-1", ".25", "5.", "360", "1e400", "0.00", "7"};
        return nums[pick(16)];
    }
    std::string operand(int depth) {
        const int kind = pick(depth > 3 ? 3 : 9);
        switch (kind) {
        case 0:
            return number();
        case 1:
            return pickOf({"t", "p", "T", "per", "amp", "omg", "f", "pi", "e", "PI", "rnd"});
        case 2:
            return pickOf({"t", "(t-40)", "rnd", "wfm(a.wfm)", "wfm(b)", "wfm(none)", "t/(t-50)"});
        case 3:
        case 4: {
            const char* fns[] = {"sin",  "cos", "asin",  "acos", "exp", "log", "ln",
                                 "sqrt", "abs", "floor", "ceil", "SIN", "Exp"};
            return std::string(fns[pick(13)]) + (pick(30) == 0 ? " (" : "(") + expression(depth + 1) +
                   (pick(30) == 0 ? "" : ")");
        }
        case 5:
            return "(" + expression(depth + 1) + (pick(20) == 0 ? ",1)" : ")");
        case 6: {
            std::string s = "pulse(";
            const int n = pick(15) == 0 ? 4 : 5;
            for (int k = 0; k < n; ++k)
                s += (k ? "," : "") +
                     (k == 4 ? pickOf({"1", "2", "3", "0", "-1", "rnd+1", "200"}) : expression(3));
            return s + ")";
        }
        case 7: {
            std::string s = "ecg(20,10,10,5,50,20,20,10,100,30,25,";
            return s + pickOf({"0", "1"}) + "," + pickOf({"1", "2", "0", "t", "rnd+1.5"}) + ")";
        }
        default:
            return pickOf({"2^t", "t^0.5", "(t-50)^0.5", "exp(t*10)", "1/(t-99)", "sin(1e400)", "0^-1"});
        }
    }

    std::mt19937 rng_;
};

TEST(ExpressionCrossCheck, PreparedProgramMatchesTheDirectScanner) {
    SampleStream a(2048, 50);
    for (int k = 0; k < 50; ++k)
        a.setCode(std::size_t(k), uint16_t(k * 80));
    SampleStream b(1, 3, 40000);
    SampleStream none;
    WaveformDirectory dir;
    dir.add("a.wfm", {&a, 5, 44});
    dir.add("b", {&b, 0, 2});
    dir.add("empty", {&none, 0, 0});

    Grammar grammar(12345);
    int failures = 0, errors = 0;
    for (int n = 0; n < 400 && failures < 5; ++n) {
        const std::string text = grammar.expression();
        const auto params = ExpressionParameters::forRange(100, 1 + 2 * n);
        std::vector<std::string> progBoxes, refBoxes;
        MathsErrorReporter progMaths([&](const std::string& m) { progBoxes.push_back(m); });
        MathsErrorReporter refMaths([&](const std::string& m) { refBoxes.push_back(m); });
        ExpressionRandom progRnd, refRnd;
        progRnd.setState(uint32_t(n) * 7919u);
        refRnd.setState(uint32_t(n) * 7919u);

        ExpressionProgram prog(text, params, &dir);
        ReferenceScanner ref(text, params, refRnd, &dir, &refMaths);
        // Blocks as the generation runs them, then a run point by point.
        double values[ExpressionProgram::kLanes];
        for (int t0 = 0; t0 < 100; t0 += ExpressionProgram::kLanes / 2) {
            const int count = std::min(ExpressionProgram::kLanes / 2, 100 - t0);
            EvaluationResult err;
            const int got = prog.evaluateBlock(t0, count, values, progRnd, &progMaths, &err);
            bool stop = false;
            for (int k = 0; k < count && !stop; ++k) {
                const EvaluationResult r = ref.point(t0 + k);
                if (k == got) {
                    EXPECT_EQ(err.error, r.error) << text << " at t=" << t0 + k;
                    EXPECT_EQ(err.marker, r.marker) << text << " at t=" << t0 + k;
                    failures += err.error != r.error || err.marker != r.marker;
                    errors += 1;
                    stop = true;
                } else {
                    EXPECT_EQ(r.error, 0) << text << " at t=" << t0 + k;
                    const bool same = std::memcmp(&values[k], &r.value, sizeof(double)) == 0 ||
                                      (std::isnan(values[k]) && std::isnan(r.value));
                    EXPECT_TRUE(same) << text << " at t=" << t0 + k << ": " << values[k] << " vs " << r.value;
                    failures += !same || r.error;
                }
            }
            if (stop)
                break;
        }
        EXPECT_EQ(progRnd.state(), refRnd.state()) << text;
        EXPECT_EQ(progBoxes, refBoxes) << text;
        // Point by point (the pure entry's path).
        for (double t : {0.0, 37.0, 99.0}) {
            ExpressionRandom r1, r2;
            const auto x = prog.evaluate(t, r1, nullptr);
            const auto y = ReferenceScanner(text, params, r2, &dir, nullptr).point(t);
            EXPECT_EQ(x.error, y.error) << text;
            EXPECT_EQ(x.marker, y.marker) << text;
            EXPECT_TRUE(std::memcmp(&x.value, &y.value, sizeof(double)) == 0 ||
                        (std::isnan(x.value) && std::isnan(y.value)))
                << text;
        }
    }
    // The grammar must reach both outcomes for the check to mean something.
    EXPECT_GT(errors, 20);
    EXPECT_LT(errors, 380);
}

} // namespace

namespace {

TEST(ExpressionCrossCheck, ArbitraryBytesEndInAValueOrAnErrorInsideTheText) {
    std::mt19937 rng(7);
    const char alphabet[] = "()+-*/^,.0123456789eEpPtTsincoaqrlgfxwm \t\n\x01\x80\xff";
    SampleStream a(2048, 3, 100);
    WaveformDirectory dir;
    dir.add("a", {&a, 0, 1000000});
    for (int n = 0; n < 3000; ++n) {
        std::string text;
        const int len = int(rng() % 40);
        for (int k = 0; k < len; ++k)
            text += alphabet[rng() % (sizeof alphabet - 1)];
        if (n % 7 == 0)
            text = "wfm(a)*" + text;
        ExpressionRandom r1, r2;
        const auto params = ExpressionParameters::forRange(1 + n % 5, 65535);
        const auto x = evaluateExpression(text, double(n % 11) - 2, params, &r1, &dir);
        const auto y = ReferenceScanner(text, params, r2, &dir, nullptr).point(double(n % 11) - 2);
        EXPECT_LE(x.marker, text.size()) << text;
        EXPECT_EQ(x.error, y.error) << text;
        EXPECT_EQ(x.marker, y.marker) << text;
        if (x.error) {
            EXPECT_EQ(x.value, 0.0) << text;
        }
    }
}

} // namespace

#include "sim/stream_parser.h"

namespace plotwell::sim {

bool parseCsvRun(std::string_view text, std::vector<long>& values) {
    values.clear();
    std::size_t i = 0;
    for (;;) {
        bool negative = false;
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            negative = text[i++] == '-';
        long v = 0;
        std::size_t digits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            if (++digits > 9)
                return false;
            v = v * 10 + (text[i++] - '0');
        }
        if (digits == 0)
            return false;
        values.push_back(negative ? -v : v);
        if (i == text.size())
            return true;
        if (text[i++] != ',')
            return false;
    }
}

void StreamParser::malformed(std::vector<Message>& out, std::string reason) {
    Message m;
    m.kind = Message::Kind::Malformed;
    m.text = std::move(reason);
    out.push_back(std::move(m));
    state_ = State::Line;
    line_.clear();
    data_.clear();
}

void StreamParser::endLine(std::vector<Message>& out) {
    Message m;
    m.text = std::move(line_);
    line_.clear();
    // Value runs: "ARBDEFCSV name,n,v1,...,vn" and "SETARB v1,...".
    std::string_view t = m.text;
    if (!t.empty() && t.back() == '\r')
        t.remove_suffix(1);
    std::size_t valuesAt = std::string_view::npos;
    if (t.rfind("ARBDEFCSV ", 0) == 0) {
        const auto c1 = t.find(',');
        const auto c2 = c1 == t.npos ? t.npos : t.find(',', c1 + 1);
        if (c2 != t.npos)
            valuesAt = c2 + 1;
    } else if (t.rfind("SETARB ", 0) == 0) {
        valuesAt = 7;
    }
    if (valuesAt != std::string_view::npos) {
        Message csv;
        csv.kind = Message::Kind::Csv;
        csv.text = std::string(t.substr(0, valuesAt ? valuesAt - 1 : 0));
        if (!parseCsvRun(t.substr(valuesAt), csv.values)) {
            malformed(out, "bad value run: " + std::string(t));
            return;
        }
        out.push_back(std::move(csv));
        return;
    }
    out.push_back(std::move(m));
}

void StreamParser::feed(std::string_view bytes, std::vector<Message>& out) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        switch (state_) {
        case State::Line:
            ++i;
            if (c == '\n')
                endLine(out);
            else if (c == '#') {
                prefix_ = std::move(line_);
                line_.clear();
                state_ = State::BlockDigits;
            } else
                line_.push_back(c);
            break;
        case State::BlockDigits:
            ++i;
            if (c < '1' || c > '9') {
                malformed(out, "bad digit count after '#' in: " + prefix_);
                break;
            }
            digits_ = std::size_t(c - '0');
            countDigitsSeen_ = 0;
            count_ = 0;
            state_ = State::BlockCount;
            break;
        case State::BlockCount:
            ++i;
            if (c < '0' || c > '9') {
                malformed(out, "bad count digit in block of: " + prefix_);
                break;
            }
            count_ = count_ * 10 + std::size_t(c - '0');
            if (++countDigitsSeen_ == digits_) {
                if (count_ > maxBlock_) {
                    malformed(out, "block too large: " + std::to_string(count_));
                    break;
                }
                data_.clear();
                state_ = State::BlockData;
                if (count_ == 0) {
                    out.push_back({Message::Kind::Block, std::move(prefix_), {}, {}});
                    state_ = State::Line;
                }
            }
            break;
        case State::BlockData: {
            const std::size_t take = std::min(count_ - data_.size(), bytes.size() - i);
            data_.append(bytes.substr(i, take));
            i += take;
            if (data_.size() == count_) {
                Message m;
                m.kind = Message::Kind::Block;
                m.text = std::move(prefix_);
                m.data = std::move(data_);
                data_.clear();
                out.push_back(std::move(m));
                state_ = State::Line;
            }
            break;
        }
        }
    }
}

} // namespace plotwell::sim

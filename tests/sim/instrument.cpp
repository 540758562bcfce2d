#include "sim/instrument.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace plotwell::sim {

std::string wordsToBytes(const std::vector<uint16_t>& words) {
    std::string b;
    b.reserve(words.size() * 2);
    for (uint16_t w : words) {
        b.push_back(char(w >> 8));
        b.push_back(char(w & 0xFF));
    }
    return b;
}

std::vector<uint16_t> bytesToWords(std::string_view bytes) {
    std::vector<uint16_t> w(bytes.size() / 2);
    for (std::size_t i = 0; i < w.size(); ++i)
        w[i] = uint16_t((uint8_t(bytes[2 * i]) << 8) | uint8_t(bytes[2 * i + 1]));
    return w;
}

namespace {

std::string_view trimmed(std::string_view t) {
    while (!t.empty() && (t.back() == '\r' || t.back() == ' '))
        t.remove_suffix(1);
    while (!t.empty() && t.front() == ' ')
        t.remove_prefix(1);
    return t;
}

bool startsWith(std::string_view t, std::string_view p) {
    return t.substr(0, p.size()) == p;
}
bool endsWith(std::string_view t, std::string_view p) {
    return t.size() >= p.size() && t.substr(t.size() - p.size()) == p;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower((unsigned char)a[i]) != std::tolower((unsigned char)b[i]))
            return false;
    return true;
}

// The value of "key value" inside a ';'-separated scope command, e.g. "data:dest REF1".
std::string scopeField(std::string_view t, std::string_view key) {
    const auto at = t.find(key);
    if (at == t.npos)
        return {};
    std::string_view v = t.substr(at + key.size());
    return std::string(v.substr(0, v.find(';')));
}

std::string csvOf(const std::vector<long>& values) {
    std::string s;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i)
            s += ',';
        s += std::to_string(values[i]);
    }
    return s;
}

} // namespace

Instrument::Instrument(Family family, std::string identity)
    : family_(family), identity_(std::move(identity)) {}

void Instrument::record(Event::Kind kind, std::string text) {
    events_.push_back({kind, std::move(text), SimClock::now()});
}

void Instrument::receive(std::string_view bytes) {
    std::lock_guard lock(mutex_);
    record(Event::Kind::Write, std::string(bytes));
    if (const long limit = faults_.dropAfterReceivedBytes; limit >= 0) {
        // It takes what comes before the limit and hangs up.
        const auto take = std::size_t(std::max(0L, limit - received_));
        if (bytes.size() >= take) {
            bytes = bytes.substr(0, take);
            dropping_ = true;
        }
    }
    received_ += long(bytes.size());
    std::vector<Message> messages;
    parser_.feed(bytes, messages);
    for (const Message& m : messages)
        handle(m);
}

void Instrument::control(std::string call) {
    std::lock_guard lock(mutex_);
    record(Event::Kind::Control, std::move(call));
}

void Instrument::reply(std::string bytes) {
    if (faults_.silent || dropping_)
        return;
    if (faults_.overlongReply)
        bytes.assign(300, 'A');
    if (faults_.dropAfterReplyBytes >= 0) {
        const long allowed = std::max(0L, faults_.dropAfterReplyBytes - replied_);
        if (long(bytes.size()) >= allowed) {
            bytes.resize(std::size_t(allowed));
            dropping_ = true;
        }
    }
    replied_ += long(bytes.size());
    record(Event::Kind::Reply, bytes);
    if (bytes.empty())
        return;
    const auto due = SimClock::now() + faults_.replyDelay;
    if (faults_.byteInterval <= std::chrono::milliseconds(0)) {
        out_.push_back({std::move(bytes), due});
        return;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i)
        out_.push_back({bytes.substr(i, 1), due + long(i) * faults_.byteInterval});
}

void Instrument::blockReply(const std::string& data) {
    std::string d = data;
    std::string header;
    switch (faults_.blockHeader) {
    case BlockFault::None: {
        const std::string n = std::to_string(d.size());
        header = "#" + std::to_string(n.size()) + n;
        break;
    }
    case BlockFault::ZeroDigits:
        header = "#0";
        break;
    case BlockFault::NonDigits:
        header = "#4ab12";
        break;
    case BlockFault::HugeCount:
        header = "#9999999999";
        break;
    case BlockFault::OddCount: {
        if (d.size() % 2 == 0 && !d.empty())
            d.pop_back();
        const std::string n = std::to_string(d.size());
        header = "#" + std::to_string(n.size()) + n;
        break;
    }
    }
    if (faults_.blockDataShort >= 0) {
        d.resize(std::min(d.size(), std::size_t(faults_.blockDataShort)));
        reply(header + d); // the data stop short: no line end either
        return;
    }
    reply(header + d + "\n");
}

void Instrument::handle(const Message& m) {
    switch (m.kind) {
    case Message::Kind::Malformed:
        record(Event::Kind::Message, "MALFORMED " + m.text);
        return;
    case Message::Kind::Csv: {
        record(Event::Kind::Message, "CSV " + m.text + " " + std::to_string(m.values.size()));
        if (m.text == "SETARB") {
            pendingValues_ = m.values;
        } else { // "ARBDEFCSV name,n"
            const std::string_view t = std::string_view(m.text).substr(10);
            const std::string name(t.substr(0, t.find(',')));
            Store& s = stores_[name];
            s.values = m.values;
            s.bytes.clear();
            s.name = name;
        }
        return;
    }
    case Message::Kind::Block: {
        record(Event::Kind::Message, "BLOCK " + m.text + " " + std::to_string(m.data.size()));
        std::string_view p = trimmed(m.text);
        std::string key;
        if (startsWith(p, "ARBDEF ")) {
            const std::string_view rest = p.substr(7);
            key = std::string(rest.substr(0, rest.find(',')));
            const auto c = rest.find(',');
            const long n = c == rest.npos ? -1 : std::atol(std::string(rest.substr(c + 1)).c_str());
            if (n * 2 != long(m.data.size()))
                record(Event::Kind::Message, "MALFORMED count " + std::to_string(m.data.size()) + " for " +
                                                 std::to_string(n) + " points");
        } else if (equalNoCase(p, "curve")) {
            key = scopeDest_;
        } else {
            key = std::string(p); // "arb1", "PTTN2", "NSEARB"
        }
        Store& s = stores_[key];
        s.bytes = m.data;
        s.values.clear();
        if (s.name.empty())
            s.name = key;
        return;
    }
    case Message::Kind::Command:
        break;
    }

    record(Event::Kind::Message, m.text);
    const std::string_view t = trimmed(m.text);
    if (t.empty())
        return;
    if (equalNoCase(t, "*idn?")) {
        reply((faults_.wrongIdentity.empty() ? identity_ : faults_.wrongIdentity) + "\n");
        return;
    }
    if (equalNoCase(t, "local"))
        return;

    auto storeLength = [&](const std::string& name) -> long {
        auto it = stores_.find(name);
        if (it == stores_.end())
            return 0;
        return it->second.values.empty() ? long(it->second.bytes.size() / 2) : long(it->second.values.size());
    };

    switch (family_) {
    case Family::ArbDef:
        if (t == "CF?") {
            reply(cardReply_ + "\n");
        } else if (startsWith(t, "ARBLEN? ") || startsWith(t, "arblen? ")) {
            reply(std::to_string(storeLength(std::string(t.substr(8)))) + "\n");
        } else if (startsWith(t, "arbdata? ")) {
            const auto it = stores_.find(std::string(t.substr(9)));
            std::string data;
            if (it != stores_.end()) {
                data = it->second.bytes;
                if (data.empty())
                    for (long v : it->second.values)
                        data += wordsToBytes({uint16_t(v + 2048)});
            }
            blockReply(data);
        } else if (startsWith(t, "arbdatacsv? ")) {
            const auto it = stores_.find(std::string(t.substr(12)));
            std::vector<long> values;
            if (it != stores_.end()) {
                values = it->second.values;
                if (values.empty())
                    for (uint16_t w : bytesToWords(it->second.bytes))
                        values.push_back(long(w) - 2048);
            }
            reply(csvOf(values) + "\n");
        }
        break;
    case Family::NumberedStore:
        if (startsWith(t, "ARBSAV ")) {
            const std::string_view rest = t.substr(7);
            const std::string k(rest.substr(0, rest.find(',')));
            Store& s = stores_[k];
            s.values = pendingValues_;
            s.name =
                rest.find(',') == rest.npos ? std::string() : std::string(rest.substr(rest.find(',') + 1));
            pendingValues_.clear();
        } else if (startsWith(t, "arbrcl ") && endsWith(t, ";arb?")) {
            const std::string k(t.substr(7, t.size() - 7 - 5));
            const auto it = stores_.find(k);
            // Seven bytes of head, then the values.
            reply("ARBDATA" + (it == stores_.end() ? std::string() : csvOf(it->second.values)) + "\n");
        }
        break;
    case Family::Maker:
    case Family::Pattern:
        if (startsWith(t, "arbdef ") || startsWith(t, "PTTNDEF ") || startsWith(t, "NSEARBDEF ")) {
            const std::string_view rest = t.substr(t.find(' ') + 1);
            std::vector<std::string> f;
            std::size_t at = 0;
            for (;;) {
                const auto c = rest.find(',', at);
                f.emplace_back(rest.substr(at, c == rest.npos ? rest.npos : c - at));
                if (c == rest.npos)
                    break;
                at = c + 1;
            }
            std::string key = f[0];
            if (startsWith(t, "NSEARBDEF "))
                key = "NSEARB";
            else if (startsWith(t, "PTTNDEF ") && startsWith(f[0], "pattern"))
                key = "PTTN" + f[0].substr(7);
            Store& s = stores_[key];
            if (startsWith(t, "NSEARBDEF ")) {
                s.name = f[0];
                s.option = f.size() > 1 ? f[1] : "";
            } else {
                s.name = f.size() > 1 ? f[1] : "";
                s.option = f.size() > 2 ? f[2] : "";
            }
        } else if (endsWith(t, "DEF?")) {
            const std::string key(t.substr(0, t.size() - 4));
            const auto it = stores_.find(key);
            if (!faults_.defReply.empty())
                reply(faults_.defReply);
            else if (it == stores_.end())
                reply(key + ",OFF,0\n");
            else
                reply(it->second.name + "," + (it->second.option.empty() ? "OFF" : it->second.option) + "," +
                      std::to_string(storeLength(key)) + "\n");
        } else if (endsWith(t, "?")) {
            const auto it = stores_.find(std::string(t.substr(0, t.size() - 1)));
            blockReply(it == stores_.end() ? std::string() : it->second.bytes);
        }
        break;
    case Family::Scope:
        if (t.find("data:dest ") != t.npos) {
            scopeDest_ = scopeField(t, "data:dest ");
        } else if (t.find("data:source ") != t.npos) {
            scopeSource_ = scopeField(t, "data:source ");
            scopeStop_ = t.find("data snap") != t.npos ? 0 : std::atol(scopeField(t, ";stop ").c_str());
        } else if (equalNoCase(t, "curve?")) {
            const auto it = stores_.find(scopeSource_);
            std::string data = it == stores_.end() ? std::string() : it->second.bytes;
            if (scopeStop_ > 0 && std::size_t(scopeStop_) < data.size())
                data.resize(std::size_t(scopeStop_));
            blockReply(data);
        }
        break;
    }
}

std::string Instrument::take(std::size_t max) {
    std::lock_guard lock(mutex_);
    std::string got;
    const auto now = SimClock::now();
    while (!out_.empty() && got.size() < max && out_.front().due <= now) {
        Chunk& c = out_.front();
        const std::size_t n = std::min(max - got.size(), c.bytes.size());
        got.append(c.bytes, 0, n);
        c.bytes.erase(0, n);
        if (c.bytes.empty())
            out_.pop_front();
    }
    return got;
}

std::size_t Instrument::ready() const {
    std::lock_guard lock(mutex_);
    std::size_t n = 0;
    const auto now = SimClock::now();
    for (const Chunk& c : out_)
        if (c.due <= now)
            n += c.bytes.size();
    return n;
}

std::optional<SimClock::time_point> Instrument::nextDue() const {
    std::lock_guard lock(mutex_);
    if (out_.empty())
        return std::nullopt;
    return out_.front().due;
}

bool Instrument::dropped() const {
    std::lock_guard lock(mutex_);
    return dropping_ && out_.empty();
}

void Instrument::setFaults(const Faults& f) {
    std::lock_guard lock(mutex_);
    faults_ = f;
}

Faults Instrument::faults() const {
    std::lock_guard lock(mutex_);
    return faults_;
}

void Instrument::setIdentity(std::string identity) {
    std::lock_guard lock(mutex_);
    identity_ = std::move(identity);
}

void Instrument::setStore(const std::string& name, Store store) {
    std::lock_guard lock(mutex_);
    stores_[name] = std::move(store);
}

std::optional<Store> Instrument::store(const std::string& name) const {
    std::lock_guard lock(mutex_);
    const auto it = stores_.find(name);
    if (it == stores_.end())
        return std::nullopt;
    return it->second;
}

void Instrument::setCardFree(long mb) {
    setCardReply(std::to_string(mb));
}

void Instrument::setCardReply(std::string text) {
    std::lock_guard lock(mutex_);
    cardReply_ = std::move(text);
}

std::vector<Event> Instrument::transcript() const {
    std::lock_guard lock(mutex_);
    return events_;
}

namespace {
std::vector<std::string> texts(const std::vector<Event>& events, Event::Kind kind) {
    std::vector<std::string> r;
    for (const Event& e : events)
        if (e.kind == kind)
            r.push_back(e.text);
    return r;
}
} // namespace

std::vector<std::string> Instrument::writes() const {
    return texts(transcript(), Event::Kind::Write);
}
std::vector<std::string> Instrument::messages() const {
    return texts(transcript(), Event::Kind::Message);
}
std::vector<std::string> Instrument::controls() const {
    return texts(transcript(), Event::Kind::Control);
}

void Instrument::clearTranscript() {
    std::lock_guard lock(mutex_);
    events_.clear();
}

} // namespace plotwell::sim

#pragma once
// A simulated instrument: it reads what the program sends, answers the queries of its
// family, keeps stores for uploads, records everything in a transcript, and misbehaves
// on demand through its fault switches. The adapters (GPIB and USB stubs, TCP server,
// pseudo-terminal) put it behind the program's real links. It is thread-safe: the TCP
// and pty adapters drive it from their own threads.

#include "sim/stream_parser.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plotwell::sim {

using SimClock = std::chrono::steady_clock;

enum class Family {
    ArbDef,        // ARBDEF/ARBDEFCSV, arblen?, arbdata?, arbdatacsv?, CF?
    NumberedStore, // SETARB ... ARBSAV, arbrcl k;arb?
    Maker,         // arbdef, <store> #block, <store>DEF?, <store>?
    Pattern,       // the maker's commands plus PTTNDEF/PTTN<k>, NSEARBDEF/NSEARB
    Scope,         // data:dest, curve #block, data:source, curve?
};

enum class BlockFault { None, ZeroDigits, NonDigits, HugeCount, OddCount };

struct Faults {
    bool silent = false;                       // never answers
    std::chrono::milliseconds replyDelay{0};   // answers this late
    std::chrono::milliseconds byteInterval{0}; // each reply byte comes this long after the one before
    bool overlongReply = false;                // answers 300 bytes with no line end
    std::string wrongIdentity;                 // when set, "*idn?" answers this
    std::string defReply;                      // when set, every "<store>DEF?" answers this
    BlockFault blockHeader = BlockFault::None; // upload blocks carry a bad header
    long blockDataShort = -1;                  // >= 0: upload block data stop after this many bytes
    long dropAfterReplyBytes = -1;             // >= 0: the connection drops after this many reply bytes
    long dropAfterReceivedBytes = -1;          // >= 0: the instrument hangs up once it has read this many
    bool shortWrites = false;                  // the USB driver takes one byte less than given
};

struct Event {
    enum class Kind { Write, Message, Control, Reply };
    Kind kind;
    std::string text; // Write/Reply: the bytes; Message: kind and text; Control: the call
    SimClock::time_point at;
};

// One store of waveform data. Binary stores keep the wire bytes (big-endian words, or
// one byte per point for the scope); value stores keep the decimal values.
struct Store {
    std::string bytes;
    std::vector<long> values;
    std::string name;   // the name a DEF? query reports
    std::string option; // "ON"/"OFF" of arbdef, or the scope's settings
};

// Big-endian wire bytes of 16-bit words, and back.
std::string wordsToBytes(const std::vector<uint16_t>& words);
std::vector<uint16_t> bytesToWords(std::string_view bytes);

class Instrument {
public:
    Instrument(Family family, std::string identity);

    // ---- the program's side ---------------------------------------------------------
    // Bytes written by the program in one driver call.
    void receive(std::string_view bytes);
    // A control call of a driver (ibdev, ibclr, AWG_Close ...), for the transcript.
    void control(std::string call);
    // Reply bytes that are due now, at most `max`.
    std::string take(std::size_t max);
    std::size_t ready() const;
    // When the next reply byte becomes due, if any is queued.
    std::optional<SimClock::time_point> nextDue() const;
    // The connection is gone once the bytes allowed before the drop have been taken.
    bool dropped() const;

    // ---- set-up and inspection ------------------------------------------------------
    void setFaults(const Faults& f);
    Faults faults() const;
    void setIdentity(std::string identity);
    void setStore(const std::string& name, Store store);
    std::optional<Store> store(const std::string& name) const;
    // Card free space in MB for "CF?"; -1 means no card.
    void setCardFree(long mb);
    // Any other reply to "CF?", a line feed added.
    void setCardReply(std::string text);

    std::vector<Event> transcript() const;
    // The writes, one entry per driver call.
    std::vector<std::string> writes() const;
    // The parsed messages: command lines, "BLOCK <prefix> <n>", "CSV <prefix> <n>",
    // "MALFORMED <reason>".
    std::vector<std::string> messages() const;
    std::vector<std::string> controls() const;
    void clearTranscript();

private:
    void handle(const Message& m);
    void reply(std::string bytes);
    void blockReply(const std::string& data);
    void record(Event::Kind kind, std::string text);

    mutable std::mutex mutex_;
    Family family_;
    std::string identity_;
    Faults faults_;
    StreamParser parser_;
    std::map<std::string, Store> stores_;
    std::string cardReply_ = "100";
    std::string scopeDest_ = "REF1";
    std::string scopeSource_ = "CH1";
    long scopeStop_ = 0;
    std::vector<long> pendingValues_;
    struct Chunk {
        std::string bytes;
        SimClock::time_point due;
    };
    std::deque<Chunk> out_;
    long replied_ = 0;  // reply bytes queued so far
    long received_ = 0; // bytes read from the program so far
    bool dropping_ = false;
    std::vector<Event> events_;
};

} // namespace plotwell::sim

#pragma once
// The simulated instrument's reading of what the program sends: command lines ended by a
// line feed, definite-length blocks ("#<d><count>" and exactly count bytes) opened by a
// '#' inside a line, and comma-separated value runs. It is incremental: bytes may arrive
// in any pieces.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace plotwell::sim {

struct Message {
    enum class Kind { Command, Block, Csv, Malformed };
    Kind kind = Kind::Command;
    // Command: the line without its line feed (a CR is kept). Block: the text before the
    // '#'. Csv: the command word and fields before the values. Malformed: the reason.
    std::string text;
    std::string data;         // Block: the data bytes
    std::vector<long> values; // Csv: the values
};

// Parses "v1,v2,...,vn": decimal integers with an optional sign, nothing else. False on
// an empty item, a stray character or a value beyond 9 digits.
bool parseCsvRun(std::string_view text, std::vector<long>& values);

class StreamParser {
public:
    // Blocks announcing more than this are malformed.
    explicit StreamParser(std::size_t maxBlock = 64u << 20) : maxBlock_(maxBlock) {}
    void feed(std::string_view bytes, std::vector<Message>& out);
    // True between messages (not inside a line or a block).
    bool idle() const { return state_ == State::Line && line_.empty(); }

private:
    enum class State { Line, BlockDigits, BlockCount, BlockData };
    void endLine(std::vector<Message>& out);
    void malformed(std::vector<Message>& out, std::string reason);

    std::size_t maxBlock_;
    State state_ = State::Line;
    std::string line_;
    std::string prefix_;
    std::size_t digits_ = 0;
    std::size_t countDigitsSeen_ = 0;
    std::size_t count_ = 0;
    std::string data_;
};

} // namespace plotwell::sim

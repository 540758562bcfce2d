#pragma once
// An open connection to an instrument: serial port, GPIB device, USB device or TCP
// socket. Every read has a deadline and a byte bound, so a silent or babbling
// instrument ends in a failure, never in a hang or an overrun.

#include "common/block_header.h"
#include "transfer/core/replies.h"

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace plotwell::transfer {

// The longest reply line kept from an instrument; a longer one is a failure.
inline constexpr std::size_t kMaxReply = 256;

enum class LinkKind { Serial, Gpib, Usb, Tcp };

enum class IoStatus {
    Ok,
    Short,    // a write took fewer bytes than given
    Timeout,  // nothing, or not enough, arrived before the deadline
    Overflow, // a reply ran past its bound without a line end
    Error,    // the driver or the system reported a failure
};

struct IoResult {
    IoStatus status = IoStatus::Ok;
    std::size_t count = 0; // bytes moved
    // The driver call that failed and its code, for the library error reports:
    // GPIB "ibwrt"/"ibrd" (code: iberr), USB "AWG_Write" (-7) or "AWG_Read" (its count).
    const char* function = nullptr;
    int code = 0;
    bool ok() const { return status == IoStatus::Ok; }
};

// Waits of the links, given to each link when it is opened. The program keeps the
// defaults; tests pass shorter ones.
struct LinkDeadlines {
    std::chrono::milliseconds usbReply{10000};     // USB polling reads
    std::chrono::milliseconds tcpConnect{5000};    // TCP connect
    std::chrono::milliseconds tcpWrite{10000};     // room to send on a TCP socket
    std::chrono::milliseconds tcpReplyByte{20000}; // each byte of a TCP reply line
    // A whole TCP reply line: an instrument that trickles its bytes just inside the wait
    // for each one would otherwise hold the window for minutes.
    std::chrono::milliseconds tcpReply{20000};
    std::chrono::milliseconds tcpData{10000};     // TCP data of an upload
    std::chrono::milliseconds gpibQueryPause{50}; // between a GPIB query and its read
};

class Link {
public:
    Link() = default;
    explicit Link(const LinkDeadlines& deadlines) : deadlines_(deadlines) {}
    virtual ~Link() = default;
    // The waits this link was opened with; a caller may change them while it is open.
    const LinkDeadlines& deadlines() const { return deadlines_; }
    void setDeadlines(const LinkDeadlines& deadlines) { deadlines_ = deadlines; }
    virtual LinkKind kind() const = 0;
    virtual bool isOpen() const = 0;
    // Writes `n` bytes in one driver call (TCP: within the write deadline).
    virtual IoResult write(const void* data, std::size_t n) = 0;
    IoResult write(std::string_view text) { return write(text.data(), text.size()); }
    // One read of at most `max` bytes as the link's driver does it: serial waits for all
    // of them up to the port's read time-out; GPIB is one ibrd; USB polls until some
    // bytes come; TCP waits for data up to the data deadline and takes what has come.
    virtual IoResult read(void* data, std::size_t max) = 0;
    // One reply line as the transfers read it: serial and TCP byte by byte up to the line
    // feed, which is not kept; USB up to and including the line feed; GPIB one read of at
    // most `gpibCount` bytes, the line feed kept when one came. At most kMaxReply bytes.
    virtual IoResult readReply(std::string& reply, std::size_t gpibCount) = 0;
    // Reads exactly `n` bytes of a reply that has no line end (a block header), each
    // awaited as the link awaits a reply line's bytes. Only TCP awaits them otherwise than
    // data.
    virtual IoResult readReplyBytes(void* data, std::size_t n);
    // Drops what has arrived and not been read, where the link can do so without a word
    // to the instrument (a serial port's input); the other links keep it.
    virtual void discardInput() {}
    // Whether the instrument is still at the other end, as far as the link can tell
    // without a word to it: a TCP connection that the instrument closed or reset, a serial
    // line that hung up. Links that cannot tell answer Ok.
    virtual IoResult checkConnected() { return {}; }
    // Closes the device; a second close does nothing.
    virtual void close() = 0;
    // GPIB device clear and time-out code; no effect on the other links.
    virtual void clear() {}
    virtual void setTimeout(int /*code*/) {}

private:
    LinkDeadlines deadlines_;
};

// Reads exactly `n` bytes with as many calls of `read(into, max)` as it takes; stops at
// the first failure or a read that brings nothing.
template <typename Read> IoResult readAll(void* data, std::size_t n, Read read) {
    auto* p = static_cast<unsigned char*>(data);
    std::size_t have = 0;
    while (have < n) {
        IoResult r = read(p + have, n - have);
        have += r.count;
        if (!r.ok()) {
            r.count = have;
            return r;
        }
        if (r.count == 0)
            return {IoStatus::Timeout, have};
    }
    return {IoStatus::Ok, have};
}

// readAll through the link's own reads.
inline IoResult readExact(Link& link, void* data, std::size_t n) {
    return readAll(data, n, [&link](void* into, std::size_t max) { return link.read(into, max); });
}

// Reads the header of a definite-length block ("#<d><count>") through a link, as reply
// bytes: two bytes, then the d count digits. The header must be well formed, announce at
// most `maxCount` bytes and a multiple of `unit`; anything else stops at once, before the
// count digits when the first two bytes are already wrong.
struct BlockRead {
    IoResult io;
    common::BlockHeaderParse header;
    bool ok() const { return io.ok() && header.ok(); }
};
BlockRead readBlockHeader(Link& link, std::size_t maxCount, std::size_t unit);

// The byte-by-byte reply loop of the serial and TCP links: `readByte` answers 1 with a
// byte, 0 when nothing more comes (time-out or close) and <0 on a failure.
template <typename ReadByte>
IoResult readLineBytewise(std::string& reply, ReadByte readByte, bool noByteIsFailure) {
    reply.clear();
    for (;;) {
        char c = 0;
        const int r = readByte(c);
        if (r < 0)
            return {IoStatus::Error, reply.size()};
        if (r == 0)
            return {noByteIsFailure ? IoStatus::Timeout : IoStatus::Ok, reply.size()};
        if (c == '\n')
            return {IoStatus::Ok, reply.size()};
        if (reply.size() >= kMaxReply)
            return {IoStatus::Overflow, reply.size()};
        reply.push_back(c);
    }
}

} // namespace plotwell::transfer

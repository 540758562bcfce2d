#pragma once
// The identity check that opens every transfer: ask "*idn?", read the reply, cut it to
// the expected text and compare. The core returns what happened; the forms show the
// boxes and run the failure routine.

#include "transfer/core/link.h"

#include <string>
#include <string_view>

namespace plotwell::transfer {

// The query of each link: USB sends a leading line feed to flush the device's parser.
std::string_view identityQuery(LinkKind kind);

// Cuts the reply to the expected text (the caller's text is changed): a trailing 'x'
// stands for one character that is not compared, so it is dropped and the reply is cut
// one shorter; otherwise the reply is cut to the expected length. A reply shorter than
// the cut stays whole.
std::string cutIdentity(std::string_view reply, std::string& expected);

// 0 when the texts are equal, where each 'x' of the model part of `expected` (after its
// first comma) matches any one character; not 0 otherwise.
int CompareIdentity(std::string_view reply, std::string_view expected);

struct IdentityCheck {
    enum class Outcome { Pass, Skipped, Mismatch, WriteFailed, ReadFailed };
    Outcome outcome = Outcome::Pass;
    std::string reply;    // as read, before the cut
    std::string expected; // before the cut
    IoResult io;          // the failed write or read
    // True when the transfer must stop.
    bool failed() const { return outcome != Outcome::Pass && outcome != Outcome::Skipped; }
};

// Sends the query, reads the reply and compares. With `skip` the query is still sent and
// its reply read (a silent instrument still fails), but any reply passes.
IdentityCheck checkIdentity(Link& link, std::string& expected, bool skip);

std::string identityMismatchText(const std::string& reply, const std::string& expected);

} // namespace plotwell::transfer

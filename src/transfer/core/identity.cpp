#include "transfer/core/identity.h"

#include "platform/posix/sleeper.h"

namespace plotwell::transfer {

std::string_view identityQuery(LinkKind kind) {
    return kind == LinkKind::Usb ? "\n*idn?\n" : "*idn?\n";
}

std::string cutIdentity(std::string_view reply, std::string& expected) {
    std::size_t cut = expected.size();
    if (!expected.empty() && expected.back() == 'x') {
        expected.pop_back();
        cut = expected.size();
    }
    return std::string(reply.substr(0, cut));
}

int CompareIdentity(std::string_view reply, std::string_view expected) {
    if (reply.size() != expected.size())
        return reply.size() < expected.size() ? -1 : 1;
    const std::size_t model = expected.find(',');
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (reply[i] == expected[i])
            continue;
        if (model != std::string_view::npos && i > model && expected[i] == 'x')
            continue;
        return (unsigned char)reply[i] < (unsigned char)expected[i] ? -1 : 1;
    }
    return 0;
}

IdentityCheck checkIdentity(Link& link, std::string& expected, bool skip) {
    IdentityCheck c;
    c.expected = expected;
    // What an earlier transfer left unread (the line end after a block) answers nothing
    // asked now.
    link.discardInput();
    const std::string_view query = identityQuery(link.kind());
    c.io = link.write(query);
    if (!c.io.ok()) {
        c.outcome = IdentityCheck::Outcome::WriteFailed;
        return c;
    }
    if (link.kind() == LinkKind::Gpib)
        platform::clock().sleep(link.deadlines().gpibQueryPause);
    c.io = link.readReply(c.reply, 100);
    if (!c.io.ok()) {
        c.outcome = IdentityCheck::Outcome::ReadFailed;
        return c;
    }
    const std::string cut = cutIdentity(c.reply, expected);
    if (skip) {
        c.outcome = IdentityCheck::Outcome::Skipped;
        return c;
    }
    c.outcome =
        CompareIdentity(cut, expected) == 0 ? IdentityCheck::Outcome::Pass : IdentityCheck::Outcome::Mismatch;
    return c;
}

std::string identityMismatchText(const std::string& reply, const std::string& expected) {
    return "The instrument reports itself as\n" + reply + "\nbut the expected type is\n" + expected;
}

} // namespace plotwell::transfer

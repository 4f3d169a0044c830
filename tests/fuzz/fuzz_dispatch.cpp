// SPDX-License-Identifier: GPL-3.0-or-later
// Received bytes through the bus session's login, parser and built-in answers.
#include "FuzzCommon.h"
#include "TolvaSession.h"

using Action = TolvaSession::Action;

// Takes every whole line; false once the session gave up the connection.
static bool drain(TolvaSession &s)
{
    TolvaSession::Actions actions;
    while (s.next(&actions)) {
        for (const Action &a : std::as_const(actions)) {
            if (a.kind == Action::Close || a.kind == Action::Abort) {
                // The last action; nothing more is taken until the next connection.
                TolvaSession::Actions none;
                s.receive("Dorvan>Tarnix Hello\n");
                check(a.kind == actions.last().kind && !s.next(&none));
                return false;
            }
            // One answer is exactly one line on the bus, sent only when logged in.
            check(a.kind != Action::Send ||
                  (a.bytes.endsWith('\n') && a.bytes.count('\n') == 1 && !a.bytes.contains('\r')));
            check((a.kind != Action::Send && a.kind != Action::Ready) ||
                  s.state() == TolvaSession::Connected);
            check(a.kind != Action::HandOn || (a.msg.valid && a.msg.cmdId > 2 &&
                                               a.msg.cmdId == s.nodeCmdTable().idOf(a.msg.cmd)));
        }
        check(!actions.isEmpty());
    }
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TolvaSession s(512);
    s.setName(QStringLiteral("Tarnix"));
    // Half the inputs start logged in (there is no key file: none is sent).
    if (size % 2 == 0) {
        s.receive("7\nSystem>Tarnix Ok:\n");
        check(drain(s) && s.state() == TolvaSession::Connected);
    }
    // Two reads, split where the first byte says, so that lines cross reads.
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype cut = size ? qsizetype(data[0]) % (qsizetype(size) + 1) : 0;
    for (const QByteArray &part : {input.left(cut), input.mid(cut)}) {
        s.receive(part);
        if (!drain(s))
            break;
    }
    return 0;
}

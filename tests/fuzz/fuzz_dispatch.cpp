// Received bytes through the bus session: the login steps and, once logged in,
// the parser and the dispatch with its built-in answers, checking what the
// client relies on in the actions that come back.
#include "FuzzCommon.h"
#include "TolvaSession.h"

namespace {

using Action = TolvaSession::Action;

// Takes every whole line; false once the session gave up the connection.
bool drain(TolvaSession &s)
{
    TolvaSession::Actions actions;
    while (s.next(&actions)) {
        check(!actions.isEmpty());
        for (const Action &a : std::as_const(actions)) {
            switch (a.kind) {
            case Action::Send:
                // One answer is exactly one line on the bus.
                check(s.state() == TolvaSession::Connected);
                check(a.bytes.endsWith('\n') && a.bytes.count('\n') == 1 &&
                      !a.bytes.contains('\r'));
                break;
            case Action::HandOn:
                check(a.msg.valid && a.msg.kind != AMsgKind::None);
                check(a.msg.cmdId == s.nodeCmdTable().idOf(a.msg.cmd) && a.msg.cmdId > 2);
                break;
            case Action::Ready:
                check(s.state() == TolvaSession::Connected);
                break;
            case Action::Close:
            case Action::Abort:
                check(a.kind == actions.last().kind);
                return false;
            default:
                break;
            }
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    silenceQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TolvaSession s(512);
    s.setName(QStringLiteral("Tarnix"));
    // Half the inputs start logged in (there is no key file: none is sent).
    if (size % 2 == 0) {
        s.receive("7\nSystem>Tarnix Ok:\n");
        drain(s);
        check(s.state() == TolvaSession::Connected);
    }
    // Two reads, split where the first byte says, so that lines cross reads.
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype cut = size ? qsizetype(data[0]) % (qsizetype(size) + 1) : 0;
    for (const QByteArray &part : {input.left(cut), input.mid(cut)}) {
        s.receive(part);
        if (!drain(s)) {
            // Given up: nothing more is taken until the next connection.
            TolvaSession::Actions none;
            s.receive("Dorvan>Tarnix Hello\n");
            check(!s.next(&none) && none.isEmpty());
            break;
        }
    }
    return 0;
}

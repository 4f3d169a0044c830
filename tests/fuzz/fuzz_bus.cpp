// libFuzzer harness: arbitrary bytes through the line framing, the message
// parser and the outgoing encoder, checking the invariants the client relies on.
#include "AMsg.h"
#include "FuzzCommon.h"
#include "LineFramer.h"
#include "TolvaProto.h"

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    silenceQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    LineFramer framer(512);
    // Feed in two reads, split where the first byte says, so that lines cross reads.
    const qsizetype cut = size ? qsizetype(data[0]) % (qsizetype(size) + 1) : 0;
    QByteArray line;
    qsizetype taken = 0;
    for (const QByteArray &part : {input.left(cut), input.mid(cut)}) {
        framer.append(part);
        LineFramer::Result r;
        while ((r = framer.take(&line)) == LineFramer::Line) {
            check(line.endsWith('\n') && line.count('\n') == 1 && line.size() <= 513);
            taken += line.size();
            AMsg m;
            const bool valid = m.parse(QString::fromUtf8(line));
            check(valid == m.valid);
            check(!m.line.contains(QLatin1Char('\n')) && !m.line.contains(QLatin1Char('\r')));
            if (valid) {
                check(m.header == m.from + QLatin1Char('>') + m.to);
                check(m.kind != AMsgKind::None);
                check(m.params.isEmpty() == m.paramText.isEmpty());
                check(m.firstParam == (m.params.isEmpty() ? QString() : m.params.first()));
            } else {
                check(m.kind == AMsgKind::None && m.params.isEmpty());
            }
            check(m.fromAddr == TolvaProto::senderAddress(m.fromNode, m.fromCh));
            const QByteArray out = TolvaProto::encodeLine(m.line);
            check(out.endsWith('\n') && out.count('\n') == 1 && !out.contains('\r'));
            for (int n = 1; n < 8; ++n) {
                const int i = TolvaProto::keyIndexFor(m.line, n);
                check(i >= 0 && i < n);
            }
        }
        if (r == LineFramer::Overflow)
            break;
    }
    check(framer.overflowed() || taken + framer.pendingBytes() == qsizetype(size));
    return 0;
}

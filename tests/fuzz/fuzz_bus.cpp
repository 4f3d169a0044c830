// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes through line framing, message parser and outgoing encoder.
#include "AMsg.h"
#include "FuzzCommon.h"
#include "LineFramer.h"
#include "TolvaProto.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    LineFramer framer(512);
    // Fed in two reads, split where the first byte says, so that lines cross reads.
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
            check(valid == m.valid && !m.line.contains('\n') && !m.line.contains('\r'));
            check(valid ? m.header == m.from + '>' + m.to && m.kind != AMsgKind::None &&
                              m.params.isEmpty() == m.paramText.isEmpty()
                        : m.kind == AMsgKind::None && m.params.isEmpty());
            check(m.fromAddr == TolvaProto::senderAddress(m.fromNode, m.fromCh));
            const QByteArray out = TolvaProto::encodeLine(m.line);
            check(out.endsWith('\n') && out.count('\n') == 1 && !out.contains('\r'));
        }
        if (r == LineFramer::Overflow)
            break;
    }
    check(framer.overflowed() || taken + framer.pendingBytes() == qsizetype(size));
    return 0;
}

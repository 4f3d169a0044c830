// Shared set-up of the fuzz harnesses: diagnostics on Qt's debug channel are
// expected for bad input and would only slow the fuzzer down.
#pragma once

#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

inline void silenceQtMessages()
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
}

inline QString fuzzText(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}

// An invariant broken: the fuzzer reports the input.
inline void check(bool ok)
{
    if (!ok)
        std::abort();
}

#include "commandrows.h"

#include "hid_thread.h"

#include <QDebug>
#include <cstring>

namespace CommandRows
{

uchar checksum(const uchar block[8])
{
    uint sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += block[i];
    return uchar(~sum & 0xFF);
}

int payloadLength(int payload, uchar firstParam)
{
    if (payload == kPayloadByType)
        return firstParam == 2 ? 4 : 24;
    return payload;
}

namespace
{

// Lays the row's fixed bytes and the caller's parameters into an 8-byte block with checksum.
template <typename Row>
void fillBlock(uchar out[8], const Row& row, std::initializer_list<uchar> params)
{
    std::memcpy(out, row.block, 7);
    out[7] = 0;
    auto value = params.begin();
    for (int i = 0; i < 6 && row.paramAt[i] != 0 && value != params.end(); ++i, ++value)
        out[row.paramAt[i]] = *value;
}

// Calls f(out-parameter, its answer byte) for each out-parameter of a get, in call order.
template <typename F> void eachResult(const GetRow& row, std::initializer_list<uchar*> results, F f)
{
    auto out = results.begin();
    for (int i = 0; i < 6 && row.resultAt[i] != 0 && out != results.end(); ++i, ++out)
        f(**out, row.resultAt[i]);
}

uchar firstParam(std::initializer_list<uchar> params)
{
    return params.size() > 0 ? *params.begin() : 0;
}

} // namespace

void runSet(Hid_Thread& hid, const SetRow& row, std::initializer_list<uchar> params,
            const uchar* payload)
{
    const uchar code = row.block[0];
    const int n = payloadLength(row.payload, firstParam(params));
    // A missing buffer would be read on the pool thread; refuse it like a busy transport so
    // nothing half-built goes out.
    if (n > 0 && payload == nullptr) {
        qDebug("cmd Failed %02X", code);
        return;
    }
    if (!hid.acquireTransport()) {
        qDebug("cmd Failed %02X", code);
        return;
    }
    uchar block[8];
    fillBlock(block, row, params);
    if (row.lengthAt != 0)
        block[row.lengthAt] = uchar(n);
    block[7] = checksum(block);

    hid.reports.outReportId = 0;
    std::memcpy(hid.commandBlock, block, 8);
    if (n > 0)
        std::memcpy(hid.payloadBuffer, payload, size_t(n));
    hid.startSendExchange(n, row.settle == Settle::With);
    if (row.pause == Pause::After8ms)
        hid.sleepMs(8);
}

GetOutcome runGet(Hid_Thread& hid, const GetRow& row, std::initializer_list<uchar> params,
                  std::initializer_list<uchar*> results, uchar* buffer)
{
    const int n = payloadLength(row.payload, firstParam(params));
    if (n > 0 && buffer == nullptr) {
        qDebug("cmd Failed");
        return GetOutcome::NotClaimed;
    }
    if (!hid.acquireTransport()) {
        qDebug("cmd Failed");
        return GetOutcome::NotClaimed;
    }
    uchar block[8];
    fillBlock(block, row, params);
    block[7] = checksum(block);

    hid.reports.outReportId = 0;
    std::memcpy(hid.commandBlock, block, 8);
    hid.reports.inReportId = 0;

    switch (row.preset) {
    case Preset::Untouched:
        break;
    case Preset::Zero:
        std::memset(hid.answerBlock, 0, 8);
        break;
    case Preset::Echo: {
        std::memset(hid.answerBlock, 0, 8);
        hid.answerBlock[0] = block[0];
        for (int i = 0; i < 6 && row.paramAt[i] != 0; ++i)
            hid.answerBlock[row.paramAt[i]] = block[row.paramAt[i]];
        eachResult(row, results, [&](uchar& out, uchar at) { hid.answerBlock[at] = out; });
        break;
    }
    }
    // Bytes the device does not deliver stay the caller's own.
    if (n > 0)
        std::memcpy(hid.payloadBuffer, buffer, size_t(n));

    const bool ok = hid.receiveExchange(n);

    if (ok || row.copy == CopyBack::Always) {
        eachResult(row, results, [&](uchar& out, uchar at) { out = hid.answerBlock[at]; });
        if (n > 0)
            std::memcpy(buffer, hid.payloadBuffer, size_t(n));
    }
    return ok ? GetOutcome::Done : GetOutcome::Failed;
}

} // namespace CommandRows

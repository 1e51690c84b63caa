// Transport figures on the zero-latency virtual mouse:
//  1. exchange time divided by the protocol's own minimum (the sleeps it mandates: 8 ms per
//     output frame, 128 ms per settling wait while no monitor runs), for payloads of 0, 64
//     and 512 bytes at report length 32; target <= 1.05;
//  2. the longest stall of the GUI event loop while twenty set commands are issued back to
//     back, seen by a timer ticking every millisecond; target <= 16 ms.
// Run by hand: build-*/bench/bench_transport
#include "../tests/devicerows.h"
#include "hid_thread.h"
#include "virtualmouse.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstring>

namespace
{

void fillSet(Hid_Thread& hid, uchar code, uchar length)
{
    const uchar block[7] = {code, 1, length, 0, 0, 0, 0};
    std::memcpy(hid.commandBlock, block, 7);
    hid.commandBlock[7] = hid.hidCS(hid.commandBlock);
    for (int i = 0; i < 512; ++i)
        hid.payloadBuffer[i] = uchar(i);
}

void exchangeRatios(Hid_Thread& hid)
{
    std::printf("exchange time / protocol minimum (report length 32, settle on, 10 runs each)\n");
    for (int length : {0, 64, 512}) {
        const int frames = (length + 31) / 32;
        const double minimum = 128.0 + frames * 8.0 + (length > 0 ? 128.0 : 0.0);
        double total = 0;
        double worst = 0;
        const int runs = 10;
        for (int run = 0; run < runs; ++run) {
            fillSet(hid, length ? 0x13 : 0x0b, uchar(length & 0xff));
            hid.transportIdle = false;
            QElapsedTimer t;
            t.start();
            const bool ok = hid.sendExchange(length, true);
            const double ms = t.nsecsElapsed() / 1e6;
            if (!ok)
                std::printf("  exchange failed\n");
            total += ms;
            worst = qMax(worst, ms);
        }
        const double mean = total / runs;
        std::printf("  payload %3d: minimum %6.1f ms, mean %7.2f ms, worst %7.2f ms, ratio %.4f "
                    "(worst %.4f)\n",
                    length, minimum, mean, worst, mean / minimum, worst / minimum);
    }
}

void guiStall(Hid_Thread& hid, QApplication& app)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = -1;
    qint64 largest = 0;
    bool measuring = true;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last >= 0 && measuring)
            largest = qMax(largest, now - last);
        last = now;
    });
    qint64 issuedIn = 0;
    QTimer::singleShot(50, [&] {
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < 20; ++i)
            hid.hid_0BH_SetCurrentDPIStage(uchar(1 + i % 8));
        issuedIn = t.elapsed();
        // The last exchange is still running; the loop stays free while it ends.
        measuring = false;
        hid.waitForIdle(10000);
        QTimer::singleShot(50, &app, &QApplication::quit);
    });
    ticker.start();
    app.exec();
    std::printf("GUI event loop while twenty 0BH set commands are issued back to back:\n"
                "  issuing took %lld ms; longest gap between 1 ms ticks %.2f ms\n",
                issuedIn, largest / 1e6);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    isEncode = true;
    languageChecksumOk = true;
    VirtualMouse mouse;
    Hid_Thread hid;
    hid.setBackend(&mouse);
    hid.enumerateDevices(shippedDeviceRows());
    hid.currentDevice = 1;

    exchangeRatios(hid);
    guiStall(hid, app);
    return 0;
}

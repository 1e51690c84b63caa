// Macro and capture figures:
//  1. time to encode one macro of 64 lines (keys and pauses, as a full mouse slot holds);
//  2. time to translate one captured key event (scan code to usage, state, receiver call).
// Run by hand: build-*/bench/bench_macroencoder
#include "inputcapture.h"
#include "macroencoder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>

namespace
{

int g_received = 0;

void count(uchar, bool, void*)
{
    ++g_received;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);

    QStringList lines;
    const QStringList keys{"A", "L Shift", "KP 7 ", "Enter", "MS-L", "F12", "Space", "Z"};
    for (int i = 0; i < 64; ++i) {
        if (i % 3 == 2)
            lines.append(QString::number(30 + 97 * i) + QStringLiteral("   [Delay]"));
        else
            lines.append(keys.at(i % keys.size()) +
                         (i % 2 ? QStringLiteral("      [Up]") : QStringLiteral("    [Down]")));
    }

    const int rounds = 20000;
    QElapsedTimer t;
    t.start();
    qint64 bytes = 0;
    for (int i = 0; i < rounds; ++i)
        bytes += MacroEncoder::encode(lines, i % 2).size();
    const double encodeUs = double(t.nsecsElapsed()) / rounds / 1000.0;

    InputCapture capture;
    capture.fillTables(false);
    capture.setKeyboardCallback(count, nullptr);
    const int events = 2000000;
    t.restart();
    for (int i = 0; i < events; ++i)
        capture.keyEvent(i % 2 == 0, 0x1E + (i / 2) % 12, false, false);
    const double keyNs = double(t.nsecsElapsed()) / events;

    std::printf("encode 64 lines: %.2f us per macro (%lld bytes total)\n", encodeUs,
                static_cast<long long>(bytes));
    std::printf("key event: %.1f ns per event (%d delivered)\n", keyNs, g_received);
    return 0;
}

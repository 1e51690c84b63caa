#pragma once

// A DeviceCommands for tests: records every set command with its parameter bytes and the
// payload a transport would carry, and answers the gets from fields the test fills. With
// `fail` set, the gets behave as after a failed exchange: results the transport keeps stay
// as the caller passed them, the others become 0, 87H and 91H return false, bulk reads
// leave the caller's bytes.

#include "devicecommands.h"

#include <QByteArray>
#include <QList>
#include <functional>

class RecordingCommands : public DeviceCommands
{
public:
    struct Call {
        QByteArray command; // the command byte as two hex digits, e.g. "10"
        QByteArray params;  // the parameters in call order
        QByteArray payload; // bulk payload as the command sends it
    };
    QList<Call> calls;
    // Run when a set command arrives, before it is recorded.
    std::function<void()> onSet;

    uint device = 1;
    bool fail = false;

    // Answers of the gets.
    QString version = QStringLiteral("1.0A");
    uchar rate = 8, profile = 3;
    uchar sensorType = 2, option1 = 0x81, option2 = 0x05;
    uchar ledOption1 = 0;
    uchar dpiStages = 6;
    QByteArray kb4 = QByteArray::fromHex("0a0b0c0d");
    uchar mode = 4;
    QByteArray bulk; // bulk get answers, repeated to fill the buffer

    QList<QByteArray> commands() const
    {
        QList<QByteArray> out;
        for (const Call& c : calls)
            out.append(c.command);
        return out;
    }

    uint currentDevice() const override { return device; }

    void hid_01H_SetReportRate(uchar r) override { set("01", {r}); }
    void hid_02H_SetCurrentProfile(uchar p) override { set("02", {p}); }
    void hid_80H_GetFWVersion(QString& v) override
    {
        v = fail ? QStringLiteral("unknown") : version;
    }
    void hid_81H_GetReportRate(uchar& r) override { r = fail ? r : rate; }
    void hid_82H_GetCurrentProfile(uchar& p) override { p = fail ? p : profile; }

    void hid_03H_SetFunctionOption(uchar t, uchar r, uchar o1, uchar o2) override
    {
        set("03", {t, r, o1, o2});
    }
    void hid_0BH_SetCurrentDPIStage(uchar s) override { set("0B", {s}); }
    void hid_0DH_SetRGBLedEffect(uchar e, uchar o1, uchar o2) override { set("0D", {e, o1, o2}); }
    void hid_10H_SetLED8StageColor(uchar t, uchar* src24) override
    {
        set("10", {t}, src24, t == 2 ? 4 : 24);
    }
    void hid_11H_SetDPISet(uchar s, uchar* src8) override { set("11", {s}, src8, 8); }
    void hid_12H_SetKeyMatrix(uchar* src64) override { set("12", {}, src64, 64); }
    void hid_83H_GetFunctionOption(uchar& t, uchar& o1, uchar& o2) override
    {
        t = fail ? 0 : sensorType;
        o1 = fail ? 0 : option1;
        o2 = fail ? 0 : option2;
    }
    bool hid_87H_GetLEDInstructFunction(uchar, uchar& o1, uchar&, uchar&) override
    {
        if (fail)
            return false;
        o1 = ledOption1;
        return true;
    }
    bool hid_91H_GetDPISet(uchar& stages, uchar* src8) override
    {
        if (fail)
            return false;
        stages = dpiStages;
        fill(src8, 8);
        return true;
    }
    void hid_92H_GetKeyMatrix(uchar* src64) override { fill(src64, 64); }
    void hid_93H_GetMacroKey(uchar, uchar* src128) override { fill(src128, 128); }

    void hid_03H_SetKeyboardoption(uchar a, uchar b, uchar c, uchar d) override
    {
        set("03", {a, b, c, d});
    }
    void hid_04H_SetButtonSensitivity(uchar a, uchar b, uchar c, uchar d) override
    {
        set("04", {a, b, c, d});
    }
    void hid_07H_SetControlIndicatorLight(uchar e, uchar f) override { set("07", {e, f}); }
    void hid_08H_SetLEDType(uchar o, uchar e, uchar s, uchar l, uchar c, uchar d) override
    {
        set("08", {o, e, s, l, c, d});
    }
    void hid_09H_SetKeyboardMode(uchar m) override { set("09", {m}); }
    void hid_0DH_SetKeyMatrix(uchar* src512) override { set("0D", {}, src512, 512); }
    void hid_0EH_SetKeyOnOff(uchar* src21) override { set("0E", {}, src21, 21); }
    void hid_12H_SetUserPicture(uchar i, uchar o, uchar* src512) override
    {
        set("12", {i, o}, src512, 512);
    }
    void hid_13H_SetRecoveryData() override { set("13", {}); }
    void hid_14H_SetColor(uchar i, uchar r, uchar g, uchar b) override { set("14", {i, r, g, b}); }
    void hid_83H_GetKeyboardoption(uchar& a, uchar& b, uchar& c, uchar& d) override
    {
        if (fail)
            return;
        a = uchar(kb4[0]), b = uchar(kb4[1]), c = uchar(kb4[2]), d = uchar(kb4[3]);
    }
    void hid_84H_GetButtonSensitivity(uchar& a, uchar& b, uchar& c, uchar& d) override
    {
        hid_83H_GetKeyboardoption(a, b, c, d);
    }
    void hid_89H_GetKeyboardMode(uchar& m) override { m = fail ? m : mode; }
    void hid_8DH_GetKeyMatrix(uchar* src512) override { fill(src512, 512); }
    void hid_8EH_GetKeyOnOff(uchar* src21) override { fill(src21, 21); }
    void hid_91H_GetMacroKey(uchar, uchar* src192) override { fill(src192, 192); }

private:
    void set(const char* command, std::initializer_list<uchar> params,
             const uchar* payload = nullptr, int n = 0)
    {
        if (onSet)
            onSet();
        Call c;
        c.command = command;
        for (uchar p : params)
            c.params.append(char(p));
        if (payload)
            c.payload = QByteArray(reinterpret_cast<const char*>(payload), n);
        calls.append(c);
    }
    void fill(uchar* buf, int n) const
    {
        if (fail || bulk.isEmpty())
            return;
        for (int i = 0; i < n; ++i)
            buf[i] = uchar(bulk.at(i % bulk.size()));
    }
};

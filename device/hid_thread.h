#pragma once

#include "devicetable.h"
#include "hidbackend.h"

#include <QFuture>
#include <QList>
#include <QMutex>
#include <QString>
#include <QThread>
#include <atomic>
#include <functional>

class QWidget;

// Whether the most recent device check accepted the current device.
extern bool deviceConnected;
// Whether the loaded language file passed its check; every exchange refuses while false.
extern std::atomic<bool> languageChecksumOk;

// One entry of the transport's device list (one row of the device table).
struct DeviceRecord {
    int index = 0;
    QString name;
    int type = -1;
    QString commandPath;
    QString eventPath;
    quint32 reportLength = 0;
};

// The transport and command object. Derives from QThread for the object system only: its
// own thread is never started. Set exchanges run on the global thread pool, gets on the
// calling (GUI) thread; the claim `transportIdle` keeps exactly one exchange in flight.
//
// Sources: hid_thread.cpp (discovery, monitor, transport), mousecommands.cpp and
// keyboardcommands.cpp (the two command families).
class Hid_Thread : public QThread
{
    Q_OBJECT
public:
    explicit Hid_Thread(QObject* parent = nullptr);
    ~Hid_Thread() override;

    // The backend every device access goes through. Not owned; defaults to the hidapi one.
    void setBackend(HidBackend* backend);
    HidBackend* backend() const { return m_backend; }

    // The sleeps of the transport (pacing, settling, claim polling) go through this seam.
    // Default: QThread::msleep, and for the claim a pause that keeps processing events.
    void setSleeper(std::function<void(int ms)> sleeper);
    void sleepMs(int ms) const;

    // Bound of one bulk input read, in milliseconds.
    static constexpr int kBulkReadTimeoutMs = 1000;
    // Bound of one read of the device monitor, in milliseconds.
    static constexpr int kMonitorReadTimeoutMs = 500;
    // Largest report length an exchange accepts (the biggest report hidraw carries).
    static constexpr quint32 kMaxReportLength = 4096;

    // The application configuration the acceptance reads the scrambling code from.
    void setConfigPath(const QString& apConfigPath) { m_configPath = apConfigPath; }

    // --- discovery and connection ---
    void enumerateDevices(const QList<DeviceDescriptor>& descriptors);
    void startMonitor(uint did);
    void deviceMonitor(uint did);
    HidDevice* openCurrentDevice(int index);
    HidDevice* openEventInterface(int index);
    void closeCommandInterface();
    void closeEventInterface();
    // Stops the monitor and waits for its task (used by the host window's destructor).
    void stopMonitor();
    // Snapshot of the device list, safe against the monitor and pool exchanges.
    QList<DeviceRecord> deviceRecords() const;
    bool isMonitorRunning() const { return monitorRunning.load(); }

    // --- transport ---
    bool acquireTransport();
    void waitQuiet();
    bool sendExchange(int length, bool settle);
    bool receiveExchange(int length);
    // Runs sendExchange(length, settle) on the global thread pool without waiting.
    void startSendExchange(int length, bool settle);
    // Waits (bounded) until the last started pool exchange has ended. For tests and shutdown.
    bool waitForIdle(int timeoutMs = 5000);

    QWidget* owner = nullptr;
    uint currentDevice = 1;

    // Report buffers, contiguous: id, command block, id, answer block, payload.
    struct Reports {
        unsigned char outReportId = 0;
        unsigned char commandBlock[8] = {};
        unsigned char inReportId = 0;
        unsigned char answerBlock[8] = {};
        unsigned char payloadBuffer[512] = {};
    } reports;
    unsigned char* commandBlock = reports.commandBlock;
    unsigned char* answerBlock = reports.answerBlock;
    unsigned char* payloadBuffer = reports.payloadBuffer;

    std::atomic<bool> transportIdle{true};
    std::atomic<bool> monitorRunning{false};
    std::atomic<bool> settled{true};

public slots:
    void swichCurDevice(uint did);
    uchar hidCS(uchar* cmd);
    void USBDataEncryption(uchar FIFOBuf[], uchar SecrecyCode[]);
    void USBDataDecipher(uchar FIFOBuf[], uchar SecrecyCode[]);

    // --- mouse command set (mousecommands.cpp) ---
    void hid_01H_SetReportRate(uchar rate);
    void hid_02H_SetCurrentProfile(uchar profile);
    void hid_03H_SetFunctionOption(uchar type, uchar rate, uchar option1, uchar option2);
    void hid_07H_SetLEDInstructFunction(uchar type, uchar option1, uchar option2, uchar option3);
    void hid_0BH_SetCurrentDPIStage(uchar dpiStage);
    void hid_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2);
    void hid_10H_SetLED8StageColor(uchar type, uchar* src24);
    void hid_11H_SetDPISet(uchar dpiStage, uchar* src8);
    void hid_12H_SetKeyMatrix(uchar* src64);
    void hid_13H_SetMacroKey(uchar macroId, uchar* src128);

    void hid_80H_GetFWVersion(QString& version);
    void hid_81H_GetReportRate(uchar& rate);
    void hid_82H_GetCurrentProfile(uchar& profile);
    void hid_83H_GetFunctionOption(uchar& type, uchar& option1, uchar& option2);
    bool hid_87H_GetLEDInstructFunction(uchar type, uchar& option1, uchar& option2, uchar& option3);
    void hid_8BH_GetCurrentDPIStage(uchar& dpiStage);
    void hid_8DH_GetRGBLedEffect(uchar& effect, uchar& option1, uchar& option2);
    void hid_90H_GetLED8StageColor(uchar type, uchar* src24);
    bool hid_91H_GetDPISet(uchar& dpiMAXStage, uchar* src8);
    void hid_92H_GetKeyMatrix(uchar* src64);
    void hid_93H_GetMacroKey(uchar macroId, uchar* src128);

    // --- keyboard command set (keyboardcommands.cpp) ---
    void hid_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void hid_04H_SetButtonSensitivity(uchar sens1, uchar sens2, uchar sens3, uchar sens4);
    void hid_07H_SetControlIndicatorLight(uchar effect, uchar frequenty);
    void hid_08H_SetLEDType(uchar option, uchar effect, uchar speed, uchar light, uchar color,
                            uchar direction);
    void hid_09H_SetKeyboardMode(uchar mode);
    void hid_0DH_SetKeyMatrix(uchar* src512);
    void hid_0EH_SetKeyOnOff(uchar* src21);
    void hid_11H_SetMacroKey(uchar macroId, uchar* src192);
    void hid_12H_SetUserPicture(uchar index, uchar option, uchar* src512);
    void hid_13H_SetRecoveryData();
    void hid_14H_SetColor(uchar index, uchar rValue, uchar gValue, uchar bValue);

    void hid_83H_GetKeyboardoption(uchar& byte1, uchar& byte2, uchar& byte3, uchar& byte4);
    void hid_84H_GetButtonSensitivity(uchar& sens1, uchar& sens2, uchar& sens3, uchar& sens4);
    void hid_88H_GetLEDType(uchar& effect, uchar& speed, uchar& light, uchar& color,
                            uchar& direction);
    void hid_89H_GetKeyboardMode(uchar& mode);
    void hid_8DH_GetKeyMatrix(uchar* src512);
    void hid_8EH_GetKeyOnOff(uchar* src21);
    void hid_91H_GetMacroKey(uchar macroId, uchar* src192);
    void hid_92H_GetUserPicture(uchar index, uchar* src512);
    void hid_94H_GetColor(uchar index, uchar& rValue, uchar& gValue, uchar& bValue);

private:
    HidBackend* m_backend = nullptr;
    std::function<void(int)> m_sleep;

    // Guards `devices` and the two handles against the monitor task, pool exchanges and
    // the check on the GUI thread.
    mutable QMutex m_lock;
    QList<DeviceRecord*> devices;
    HidDevice* commandHandle = nullptr;
    HidDevice* eventHandle = nullptr;
    QFuture<void> monitorFuture;
    QFuture<bool> exchangeFuture;

    // Held by whoever opens, uses or closes the command (event) interface, so the check on
    // the GUI thread never closes a handle under a running transfer. Lock order: a use
    // lock first, then m_lock.
    QMutex m_commandUse;
    QMutex m_eventUse;
    QString m_configPath = QStringLiteral("./modules/setting/apConfig.bin");

    enum class Interface { Command, Event };
    HidDevice* openInterfaceLocked(int index, Interface which);
    void closeInterfaceLocked(Interface which);
    // Opens the command interface of record `index` anew and runs one transfer on it.
    // Returns the transfer's result, or -1 when the interface did not open.
    int commandTransfer(int index, const std::function<int(HidDevice*)>& transfer);
    // Report length of record `index` (0 when there is none), read under the lock.
    quint32 reportLengthOf(int index) const;

    // One pause of the claim: `ms` milliseconds during which the GUI thread's events are
    // processed.
    void claimPause(int ms);

    // What one exchange works with, fixed when it starts.
    struct ExchangeSetup {
        int index = 0;
        quint32 reportLength = 0;
        bool scrambled = false;
        unsigned char code[8] = {};
    };
    // The part both exchanges share: the gate, the report-length check, scrambling and
    // sending the command block. False when the exchange must fail.
    bool beginExchange(int length, ExchangeSetup& setup);
};

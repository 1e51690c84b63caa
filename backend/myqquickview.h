#pragma once

#include "filewarning.h"

#include <QList>
#include <QQuickWidget>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

class Hid_Thread;
class ApConfigStore;
class ProfileStore;
class Localization;
class DeviceBridge;
class PointerSettings;
class SoundEffects;
class MacroLibrary;
class MacroEncoder;

// The view host: loads the UI documents, publishes itself as `ui_View`, and offers the
// documents every backend operation as a slot. It is a thin facade: each slot forwards to
// the service that owns the concern.
//
// Sources: myqquickview.cpp (creation, start calls, calls into the documents),
// myqquickview_stores.cpp (configuration, profiles), myqquickview_i18n.cpp (languages),
// myqquickview_device.cpp (device bridge, pointer settings), myqquickview_sound.cpp (sounds),
// myqquickview_macros.cpp (macro library and encoding, captured input delivery).
class myQQuickView : public QQuickWidget
{
    Q_OBJECT
public:
    explicit myQQuickView(QWidget* parent = nullptr);
    ~myQQuickView() override;

    // The transport the device operations use; set by the host window right after creation.
    void setHid(Hid_Thread* hid);
    Hid_Thread* hid = nullptr;

    // Calls a function of the root document by name; queued or direct. Does nothing when
    // there is no root object or it lacks the function.
    void invokeRoot(const char* function, const QVariantList& args, bool queued);

    // Captured input, delivered to the root document as queued calls.
    void deliverKeyboardEvent(bool isDown, uchar usage);
    void deliverMouseEvent(bool isDown, uint code, uint x, uint y);

    ApConfigStore* apConfig() const { return m_apConfig; }
    ProfileStore* profiles() const { return m_profiles; }
    Localization* localization() const { return m_localization; }
    DeviceBridge* bridge() const { return m_bridge; }
    PointerSettings* pointer() const { return m_pointer; }
    SoundEffects* sounds() const { return m_sounds; }
    MacroLibrary* macros() const { return m_macros; }
    MacroEncoder* macroEncoder() const { return m_macroEncoder; }
    // Message texts of the loaded language for the services' warning boxes; empty texts
    // until a language is loaded.
    MessageTexts messageTexts() const;

public slots:
    // start calls
    void initUI();
    void runUI();

    // application configuration
    void saveApConfig(QVariantList apConfigs);
    QVariantList loadApConfig();
    QVariantList loadDeviceApConfig();
    void resetApconfig();
    bool getIsSkinShow();
    QString getCustomFilePath();

    // profile store
    void syncFW();
    QVariantList loadDefaultProfile(uchar uiPageId);
    void loadProfile(int profile);
    void saveProfile(int profile);
    void resetProfile(int profile);
    QVariantList getKeydefine(QVariant matrixId);

    // macro library
    void loadMacroIniFromFile(QVariant name);
    void saveMacroIniToFile(QVariant name);
    void renameMacroIniFile(QVariant oldName, QVariant newName);
    QVariant createMacroIni();
    QVariant deleteMacroIni(QVariant name);
    QStringList getMacroIniNames();
    QVariant saveMacroIni(QVariant name, QStringList macros);
    QStringList loadMacroIni(QVariant name);
    QVariantList loadMacroIniConfig(QVariant name);
    void setMacroIniConfig(QVariant name, QVariantList config);

    // macro encoding
    QList<uchar> macroIncode(QStringList macros);
    void ui_11H_SetMacroKey(QVariant macroId, QVariant name);
    void ui_13H_SetMacroKey(QVariant macroId, QVariant name);

    // device-operation bridge
    void ui_01H_SetReportRate(uchar rate);
    void ui_02H_SetCurrentProfile(int profile);
    void ui_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void ui_04H_SetButtonSensitivity(uchar sens1, uchar sens2, uchar sens3, uchar sens4);
    void ui_07H_SetControlIndicatorLight(uchar effect, uchar frequenty);
    void ui_08H_SetLEDType(uchar option, uchar effect, uchar speed, uchar light, uchar color,
                           uchar direction);
    void ui_09H_SetKeyboardMode(uchar mode);
    void ui_0BH_SetCurrentDPIStage(uchar dpiStage);
    void ui_0DH_SetKeyMatrix(QVariantList src512);
    void ui_0DH_SetRGBLedEffect(uchar effect, uchar option1, uchar option2, QVariantList configs);
    void ui_0EH_SetKeyOnOff(QVariantList src21);
    void ui_10H_SetLED8StageColor(uchar type, QVariantList src24);
    void ui_11H_SetDPISet(uchar dpiStage, QVariantList src8, QVariantList valueForIndex);
    void ui_12H_SetUserPicture(uchar index, uchar option, QVariantList src512);
    void ui_12H_SetKeyMatrix(QVariantList src64);
    void ui_13H_SetRecoveryData();
    void ui_14H_SetColor(uchar index, uchar rValue, uchar gValue, uchar bValue);
    QString ui_80H_GetFWVersion();
    QVariant ui_81H_GetReportRate();
    QVariant ui_82H_GetCurrentProfile();
    QVariantList ui_83H_GetKeyboardoption();
    QVariantList ui_84H_GetButtonSensitivity();
    QVariantList ui_88H_GetLEDType();
    QVariant ui_89H_GetKeyboardMode();
    QVariant ui_8BH_GetCurrentDPIStage();
    QVariantList ui_8DH_GetKeyMatrix();
    QVariantList ui_8DH_GetRGBLedEffect();
    QVariantList ui_8EH_GetKeyOnOff();
    QVariantList ui_90H_GetLED8StageColor(uchar type);
    QVariantList ui_91H_GetMacroKey(uchar macroId);
    QVariantList ui_91H_GetDPISet();
    uchar ui_91H_SyncDPI();
    QVariantList ui_92H_GetUserPicture(uchar index);
    QVariantList ui_92H_GetKeyMatrix();
    QVariantList ui_93H_GetMacroKey(uchar macroId);
    QVariantList ui_94H_GetColor(uchar index);
    QVariant getSensorType();
    bool chkIsLogoLedWork();

    // localization
    QVariantMap chkLanguages();
    QStringList getGlobalStrings(QString langCode);
    QStringList getProductLayoutStrings_Q7(QString langCode);

    // pointer settings
    bool getMsgAns_FoolProofing();
    void setScrollPinSwap(bool isSwap);
    bool getScrollPinSwap();
    void setAcceleration(bool acceleration);
    bool getAcceleration();
    void setCursorSpeed(uint cursorSpeed);
    uint getCursorSpeed();
    void setVerticalScrollLines(uint lines);
    uint getVerticalScrollLines();
    void setDoubleClickSpeed(uint speed);
    uint getDoubleClickSpeed();

    // sound effects
    void setEnableAudio(bool isEnable);
    void playMedia_Index(uchar index);
    void playMedia_Background();
    void clearAllMedia();

private:
    // Each is defined in the source file of its group (see above) and run by the constructor.
    void initStores();       // myqquickview_stores.cpp
    void initLocalization(); // myqquickview_i18n.cpp
    void initDevice();       // myqquickview_device.cpp
    void initSounds();       // myqquickview_sound.cpp
    void initMacros();       // myqquickview_macros.cpp
    // Run by setHid() for the services that address the device.
    void attachHid();

    ApConfigStore* m_apConfig = nullptr;
    ProfileStore* m_profiles = nullptr;
    Localization* m_localization = nullptr;
    DeviceBridge* m_bridge = nullptr;
    PointerSettings* m_pointer = nullptr;
    SoundEffects* m_sounds = nullptr;
    MacroLibrary* m_macros = nullptr;
    MacroEncoder* m_macroEncoder = nullptr;
};

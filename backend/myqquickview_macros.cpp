// Macro library and macro encoding slots of the view host, and the delivery of captured
// input to the root document. The slots forward to MacroLibrary and MacroEncoder.
#include "hid_thread.h"
#include "keynames.h"
#include "macroencoder.h"
#include "macrolibrary.h"
#include "myqquickview.h"

void myQQuickView::initMacros()
{
    // Built now rather than on the first recorded macro.
    KeyNames::table();
    m_macros = new MacroLibrary(QStringLiteral("./modules/macro"), this);
    m_macroEncoder = new MacroEncoder(m_macros, this);

    // The transport is attached after construction and may be swapped, so it is looked up
    // on every call. Without one, the mouse is the device, as the transport's default.
    m_macros->setDeviceId(
        [this]() -> uint { return hid ? hid->currentDevice : MacroLibrary::kMouse; });
    m_macros->setDialogParent(this);
    m_macros->setMouseResend(
        [this](uchar slot, const QString& name) { ui_13H_SetMacroKey(slot, name); });
    m_macros->setKeyboardResend(
        [this](uchar slot, const QString& name) { ui_11H_SetMacroKey(slot, name); });

    m_macroEncoder->setMouseSender([this](uchar slot, uchar* bytes) {
        if (hid)
            hid->hid_13H_SetMacroKey(slot, bytes);
    });
    m_macroEncoder->setKeyboardSender([this](uchar slot, uchar* bytes) {
        if (hid)
            hid->hid_11H_SetMacroKey(slot, bytes);
    });
    m_macroEncoder->setMessages(messageTexts());
}

void myQQuickView::loadMacroIniFromFile(QVariant name)
{
    m_macros->loadMacroIniFromFile(name);
}

void myQQuickView::saveMacroIniToFile(QVariant name)
{
    m_macros->saveMacroIniToFile(name);
}

void myQQuickView::renameMacroIniFile(QVariant oldName, QVariant newName)
{
    m_macros->renameMacroIniFile(oldName, newName);
}

QVariant myQQuickView::createMacroIni()
{
    return m_macros->createMacroIni();
}

QVariant myQQuickView::deleteMacroIni(QVariant name)
{
    return m_macros->deleteMacroIni(name);
}

QStringList myQQuickView::getMacroIniNames()
{
    return m_macros->getMacroIniNames();
}

QVariant myQQuickView::saveMacroIni(QVariant name, QStringList macros)
{
    return m_macros->saveMacroIni(name, macros);
}

QStringList myQQuickView::loadMacroIni(QVariant name)
{
    return m_macros->loadMacroIni(name);
}

QVariantList myQQuickView::loadMacroIniConfig(QVariant name)
{
    return m_macros->loadMacroIniConfig(name);
}

void myQQuickView::setMacroIniConfig(QVariant name, QVariantList config)
{
    m_macros->setMacroIniConfig(name, config);
}

QList<uchar> myQQuickView::macroIncode(QStringList macros)
{
    return m_macroEncoder->macroIncode(macros);
}

void myQQuickView::ui_11H_SetMacroKey(QVariant macroId, QVariant name)
{
    m_macroEncoder->ui_11H_SetMacroKey(macroId, name);
}

void myQQuickView::ui_13H_SetMacroKey(QVariant macroId, QVariant name)
{
    m_macroEncoder->ui_13H_SetMacroKey(macroId, name);
}

void myQQuickView::deliverKeyboardEvent(bool isDown, uchar usage)
{
    invokeRoot("detectKeyboard", {QVariant(isDown), QVariant(int(usage))}, true);
}

void myQQuickView::deliverMouseEvent(bool isDown, uint code, uint x, uint y)
{
    invokeRoot("detectMouse", {QVariant(isDown), QVariant(code), QVariant(x), QVariant(y)}, true);
}

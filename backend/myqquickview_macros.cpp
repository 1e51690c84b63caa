// Placeholder bodies: replaced by the real implementation.
#include "myqquickview.h"

void myQQuickView::initMacros() {}
void myQQuickView::loadMacroIniFromFile(QVariant name) { Q_UNUSED(name); }
void myQQuickView::saveMacroIniToFile(QVariant name) { Q_UNUSED(name); }
void myQQuickView::renameMacroIniFile(QVariant oldName, QVariant newName) { Q_UNUSED(oldName); Q_UNUSED(newName); }
QVariant myQQuickView::createMacroIni() {  return {}; }
QVariant myQQuickView::deleteMacroIni(QVariant name) { Q_UNUSED(name);  return {}; }
QStringList myQQuickView::getMacroIniNames() {  return {}; }
QVariant myQQuickView::saveMacroIni(QVariant name, QStringList macros) { Q_UNUSED(name); Q_UNUSED(macros);  return {}; }
QStringList myQQuickView::loadMacroIni(QVariant name) { Q_UNUSED(name);  return {}; }
QVariantList myQQuickView::loadMacroIniConfig(QVariant name) { Q_UNUSED(name);  return {}; }
void myQQuickView::setMacroIniConfig(QVariant name, QVariantList config) { Q_UNUSED(name); Q_UNUSED(config); }
QList<uchar> myQQuickView::macroIncode(QStringList macros) { Q_UNUSED(macros);  return {}; }
void myQQuickView::ui_11H_SetMacroKey(QVariant macroId, QVariant name) { Q_UNUSED(macroId); Q_UNUSED(name); }
void myQQuickView::ui_13H_SetMacroKey(QVariant macroId, QVariant name) { Q_UNUSED(macroId); Q_UNUSED(name); }
void myQQuickView::deliverKeyboardEvent(bool isDown, uchar usage) { Q_UNUSED(isDown); Q_UNUSED(usage); }
void myQQuickView::deliverMouseEvent(bool isDown, uint code, uint x, uint y) { Q_UNUSED(isDown); Q_UNUSED(code); Q_UNUSED(x); Q_UNUSED(y); }

#pragma once

#include <QString>
#include <functional>

class QWidget;

// Message texts of the loaded language by index; empty texts before any language is loaded.
using MessageTexts = std::function<QString(int)>;

// Message i of texts, or an empty text when there are none.
QString messageText(const MessageTexts& texts, int i);

// The warning box for a file that cannot be read or written: title message 2, text message
// 3 followed directly by the path, one OK button, no parent.
void showFileWarning(const MessageTexts& texts, const QString& path);

#include "filewarning.h"

#include "dialogs.h"

namespace
{

constexpr int kMsgFileTitle = 2;
constexpr int kMsgFileText = 3;

} // namespace

QString messageText(const MessageTexts& texts, int i)
{
    return texts ? texts(i) : QString();
}

void showFileWarning(const MessageTexts& texts, const QString& path)
{
    Dialogs::instance().warning(nullptr,
                                QStringLiteral("%1").arg(messageText(texts, kMsgFileTitle)),
                                QStringLiteral("%1%2").arg(messageText(texts, kMsgFileText), path));
}

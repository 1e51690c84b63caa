#pragma once

#include "filewarning.h"

#include <QObject>
#include <QString>
#include <QVariantList>

class QSettings;
class QWidget;

// The program's own settings: "apConfig.bin" in the settings folder, with the factory copy
// "apConfigD.bin" used by reset. The global settings page keeps its values as one ordered
// list ("common/total" and "common/0".."common/<total-1>"), which this store treats as
// opaque; the file also carries the window title and a few device constants.
class ApConfigStore : public QObject
{
    Q_OBJECT
public:
    // settingFolder: "./modules/setting" in the program; imageFolder: "./modules/img".
    ApConfigStore(const QString& settingFolder, const QString& imageFolder,
                  QObject* parent = nullptr);
    ~ApConfigStore() override;

    void setMessages(MessageTexts messages) { m_messages = std::move(messages); }

    // Writes the list: "common/total" = its length, "common/<i>" = entry i. Entries an
    // older, longer list left behind stay in the file but are no longer read.
    void save(const QVariantList& values);
    // Entries 0..total-1; a missing entry reads as the integer 0.
    QVariantList load() const;
    // One entry: the number of colour stages of the lighting page ("Q7/colorMaxStage", 8).
    QVariantList loadDevice() const;
    // Replaces apConfig.bin by a copy of apConfigD.bin and reopens it. On failure (no factory
    // copy, unwritable folder) the old file and the open settings stay as they were.
    bool reset();
    // Whether the image folder holds more than one skin folder.
    bool isSkinShow() const;
    // Lets the user pick a PNG picture; returns its path, or empty when cancelled or when
    // the file cannot be read (then a warning box says so).
    QString customFilePath(QWidget* dialogParent) const;

    // "common/name": the window title.
    QString windowTitle() const;

    QSettings* settings() const { return m_settings; }
    QString filePath() const;
    QString factoryFilePath() const;

signals:
    // The settings object was replaced by reset(); earlier pointers from settings() are gone.
    void reopened();

private:
    QString m_settingFolder;
    QString m_imageFolder;
    QSettings* m_settings = nullptr;
    MessageTexts m_messages;
};

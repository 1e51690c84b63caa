#pragma once

#include <QEvent>

// The event the host window posts to itself to start the UI documents. Its type is the
// first user event type; `code` says what to do (kStartCode: run the documents).
class UserEvent : public QEvent
{
public:
    static constexpr int kType = 1000;
    static constexpr int kStartCode = 2177;

    explicit UserEvent(int eventCode) : QEvent(QEvent::Type(kType)), code(eventCode) {}

    qint32 code;
};

static_assert(UserEvent::kType == QEvent::User, "start event must use the first user type");

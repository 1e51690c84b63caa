#include "myqquickview.h"

#include <QByteArray>
#include <QMetaMethod>
#include <QQuickItem>

myQQuickView::myQQuickView(QWidget* parent) : QQuickWidget(parent)
{
    initStores();
    initLocalization();
    initDevice();
    initSounds();
    initMacros();
}

myQQuickView::~myQQuickView()
{
    // The services are children and go with the base; the root document goes with it too.
}

void myQQuickView::setHid(Hid_Thread* h)
{
    hid = h;
    attachHid();
}

namespace
{

// Whether obj has an invokable method (a document function) called `name` taking exactly
// `argc` arguments. Checked first so that a missing function is a quiet no-op.
bool hasMethod(const QObject* obj, const char* name, int argc)
{
    const QMetaObject* mo = obj->metaObject();
    for (int i = 0; i < mo->methodCount(); ++i) {
        const QMetaMethod m = mo->method(i);
        if (m.methodType() != QMetaMethod::Method && m.methodType() != QMetaMethod::Slot)
            continue;
        if (m.parameterCount() == argc && m.name() == name)
            return true;
    }
    return false;
}

} // namespace

void myQQuickView::invokeRoot(const char* function, const QVariantList& args, bool queued)
{
    // Document functions take untyped (QVariant) parameters; invokeMethod takes ten at most.
    constexpr int kMaxArgs = 10;
    QObject* root = rootObject();
    if (!root || !function || args.size() > kMaxArgs || !hasMethod(root, function, args.size()))
        return;

    QGenericArgument a[kMaxArgs];
    for (int i = 0; i < args.size(); ++i)
        a[i] = Q_ARG(QVariant, args.at(i));
    QMetaObject::invokeMethod(root, function, queued ? Qt::QueuedConnection : Qt::DirectConnection,
                              a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9]);
}

void myQQuickView::initUI()
{
    invokeRoot("initUI", {}, true);
}

void myQQuickView::runUI()
{
    invokeRoot("run", {}, true);
}

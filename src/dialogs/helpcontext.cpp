#include "dialogs/helpcontext.h"

#include <QObject>
#include <QVariant>
#include <QWidget>

namespace qm::help {

void setContext(QObject *object, int context)
{
    object->setProperty(ContextProperty, context);
}

int ownContext(const QObject *object)
{
    const QVariant v = object ? object->property(ContextProperty) : QVariant();
    return v.isValid() ? v.toInt() : 0;
}

int contextOf(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (const int context = ownContext(w))
            return context;
    }
    return 0;
}

QString anchorName(int context)
{
    return QStringLiteral("context-%1").arg(context);
}

const QList<int> &programContexts()
{
    static const QList<int> contexts{1, 3, 5, 6, 14, 19, 20, 43, 44, 45, 400, OptionsContext};
    return contexts;
}

} // namespace qm::help

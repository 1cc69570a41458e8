#pragma once

#include <QList>
#include <QString>

class QObject;
class QWidget;

// Help contexts: every control may carry a help context number, the topic
// of the help file that explains it. The number is the control's dynamic
// property "helpContext" (an int); 0 or no property means none.
namespace qm::help {

inline constexpr char ContextProperty[] = "helpContext";

// The Options dialog's topic, beside the numbers the controls carry.
inline constexpr int OptionsContext = 50;

void setContext(QObject *object, int context);

// The object's own context; 0 when it has none.
int ownContext(const QObject *object);

// The context F1 shows for a widget: its own, or else that of the nearest
// enclosing widget that has one. A dialog without contexts of its own leads
// to the window that owns it. 0 when no widget on the way has one.
int contextOf(const QWidget *widget);

// The name of a context's anchor in the help file ("context-5").
QString anchorName(int context);

// The context numbers the controls of the program carry.
const QList<int> &programContexts();

} // namespace qm::help

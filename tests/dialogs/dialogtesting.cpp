#include "dialogtesting.h"

#include "platform/qtprompts.h"

#include <QApplication>
#include <QAbstractButton>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>
#include <QtTest>

namespace dialogtest {

QStringList tabStops(QWidget *page)
{
    QStringList names;
    QWidget *w = page;
    while ((w = w->nextInFocusChain()) != page) {
        if (!page->isAncestorOf(w) || w->focusProxy() || !(w->focusPolicy() & Qt::TabFocus)
            || !w->isVisibleTo(page) || !w->isEnabled())
            continue;
        names << w->objectName();
    }
    return names;
}

qm::ModalResult pressInRealDialog(QDialog *dialog, QWidget *target, int key)
{
    qm::QtPrompts prompts;
    bool stuck = false;
    QTimer::singleShot(0, dialog, [dialog, target, key, &stuck] {
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key));
        // A dialog that did not close is closed here so the test goes on.
        if (dialog->isVisible()) {
            stuck = true;
            dialog->done(0);
        }
    });
    const qm::ModalResult result = prompts.execDialog(dialog);
    return stuck ? qm::ModalResult::None : result;
}

QStringList captions(QWidget *page)
{
    QStringList texts;
    for (QLabel *l : page->findChildren<QLabel *>())
        texts << l->text();
    for (QGroupBox *g : page->findChildren<QGroupBox *>())
        texts << g->title();
    for (QAbstractButton *b : page->findChildren<QAbstractButton *>())
        texts << b->text();
    return texts;
}

QStringList withoutHelpContext(QWidget *page, int n)
{
    QStringList out;
    QList<QWidget *> all = page->findChildren<QWidget *>();
    all.prepend(page);
    for (QWidget *w : all)
        if (w->property("helpContext").toInt() != n)
            out << (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName());
    return out;
}

} // namespace dialogtest

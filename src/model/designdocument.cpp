#include "model/designdocument.h"

#include "model/projectload.h"

#include <QUndoStack>
#include <algorithm>

namespace qm {

DesignDocument::DesignDocument(QObject *parent)
    : QObject(parent)
    , m_steps(new QUndoStack(this))
{
    connect(m_steps, &QUndoStack::cleanChanged, this, &DesignDocument::savedChanged);
}

DesignDocument::~DesignDocument()
{
    // The steps die with the stack; none of them may tell anyone anything
    // about a design that is going away.
    blockSignals(true);
}

void DesignDocument::push(QUndoCommand *step)
{
    m_steps->push(step);
}

bool DesignDocument::isSaved() const
{
    return m_steps->isClean();
}

void DesignDocument::markSaved()
{
    m_steps->setClean();
}

void DesignDocument::markUnsaved()
{
    m_steps->resetClean();
}

void DesignDocument::select(int selection)
{
    if (!hasButton(selection))
        selection = BackgroundSelected;
    const int from = m_selection;
    emit selectionChanging(from, selection);
    m_selection = selection;
    emit selectionChanged(selection);
    // Selecting the selection again (which stores what was typed into it)
    // keeps the buttons selected with it.
    if (from != selection)
        setAlsoSelected({});
}

QList<int> DesignDocument::selectedButtons() const
{
    if (m_selection == BackgroundSelected)
        return {};
    return QList<int>{m_selection} + m_also;
}

void DesignDocument::setAlsoSelected(QList<int> buttons)
{
    std::sort(buttons.begin(), buttons.end());
    buttons.erase(std::unique(buttons.begin(), buttons.end()), buttons.end());
    buttons.removeIf([this](int b) { return b == m_selection || !hasButton(b); });
    if (m_selection == BackgroundSelected)
        buttons.clear();
    if (buttons == m_also)
        return;
    m_also = buttons;
    emit alsoSelectedChanged();
}

void DesignDocument::replace(const Design &design, bool buttonsEditOnDoubleClick)
{
    m_design = design;
    m_design.renumber();
    m_editOnDoubleClick = QList<bool>(m_design.Buttons.size(), buttonsEditOnDoubleClick);
    m_selection = BackgroundSelected;
    m_also.clear();
    m_steps->clear();
    emit replaced();
}

bool DesignDocument::open(const QString &path, QString *message)
{
    Design base = m_design;
    setProjectFileNames(base, path);
    std::optional<Design> read = loadProject(path, base, message);
    if (!read)
        return false;
    // Opening ends with the background selected, which stores what its
    // areas show back into its texts.
    if (read->ShowTitleAndBlurb) {
        read->BgTitleText = throughArea(read->BgTitleText);
        read->BgBlurbText = throughArea(read->BgBlurbText);
    }
    replace(*read, true);
    markSaved();
    return true;
}

void DesignDocument::setButtonRect(int index, const QRect &bounds)
{
    if (!hasButton(index) || m_design.Buttons.at(index).rect() == bounds)
        return;
    m_design.Buttons[index].setRect(bounds);
    emit buttonMoved(index);
}

void DesignDocument::setButton(int index, const ButtonData &data)
{
    if (!hasButton(index))
        return;
    m_design.Buttons[index] = data;
    m_design.Buttons[index].Tag = index;
    emit buttonChanged(index);
}

void DesignDocument::insertButton(int index, const ButtonData &data, bool editOnDoubleClick)
{
    index = qBound(0, index, buttonCount());
    m_design.Buttons.insert(index, data);
    m_editOnDoubleClick.insert(index, editOnDoubleClick);
    m_design.renumber();
    if (m_selection >= index)
        ++m_selection;
    for (int &b : m_also)
        b += b >= index ? 1 : 0;
    emit buttonInserted(index);
}

void DesignDocument::removeButton(int index)
{
    if (!hasButton(index))
        return;
    if (m_selection == index)
        select(BackgroundSelected);
    m_design.Buttons.removeAt(index);
    m_editOnDoubleClick.removeAt(index);
    m_design.renumber();
    if (m_selection > index)
        --m_selection;
    const bool also = m_also.removeAll(index) > 0;
    for (int &b : m_also)
        b -= b > index ? 1 : 0;
    emit buttonRemoved(index);
    if (also)
        emit alsoSelectedChanged();
}

void DesignDocument::setAreaRect(TextArea area, const QRect &bounds)
{
    QRect &rect = area == TextArea::Title ? m_design.TitleRect : m_design.BlurbRect;
    if (rect == bounds)
        return;
    rect = bounds;
    emit areaMoved(area);
}

void DesignDocument::setText(int owner, TextArea area, const QString &text)
{
    const bool title = area == TextArea::Title;
    if (hasButton(owner))
        (title ? m_design.Buttons[owner].TitleText : m_design.Buttons[owner].BlurbText) = text;
    else
        (title ? m_design.BgTitleText : m_design.BgBlurbText) = text;
    emit textChanged(hasButton(owner) ? owner : BackgroundSelected, area);
}

void DesignDocument::setBackground(const BackgroundData &data)
{
    m_design.setBackground(data);
    emit backgroundChanged();
}

bool DesignDocument::editsOnDoubleClick(int index) const
{
    return index >= 0 && index < m_editOnDoubleClick.size() && m_editOnDoubleClick.at(index);
}

} // namespace qm

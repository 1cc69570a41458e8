#include "dialogs/dialogparts.h"

#include "dialogs/helpcontext.h"
#include "dialogs/limitedtextedit.h"
#include "imageview/tpmultiimage.h"
#include "platform/filefilter.h"
#include "platform/paths.h"
#include "platform/prompts.h"

#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValidator>

namespace qm::dialogs {

namespace {

// CR, LF and the other characters that end a line: vertical tab, form
// feed, next line, line and paragraph separator.
bool isLineBreak(QChar c)
{
    switch (c.unicode()) {
    case 0x0A: case 0x0B: case 0x0C: case 0x0D: case 0x85: case 0x2028: case 0x2029:
        return true;
    default:
        return false;
    }
}

qsizetype firstLineBreak(const QString &text, qsizetype from = 0)
{
    for (qsizetype i = from; i < text.size(); ++i)
        if (isLineBreak(text.at(i)))
            return i;
    return -1;
}

class OneLineValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override
    {
        if (firstLineBreak(input) >= 0)
            input = withoutLineBreaks(input, &pos);
        return Acceptable;
    }
};

} // namespace

QString withoutLineBreaks(const QString &text, int *cursor)
{
    const qsizetype first = firstLineBreak(text);
    if (first < 0)
        return text;
    // The field held no break before, so every break came with the text
    // inserted, which ends at the cursor: of that text the part up to its
    // first break stays, and what followed the insertion stays too.
    qsizetype end = *cursor > first ? qMin<qsizetype>(*cursor, text.size()) : text.size();
    QString tail = text.mid(end);
    const qsizetype inTail = firstLineBreak(tail);
    if (inTail >= 0)
        tail.truncate(inTail);
    *cursor = int(first);
    return text.left(first) + tail;
}

void makeOneLine(QLineEdit *field)
{
    field->setValidator(new OneLineValidator(field));
}

QString imageFilter()
{
    // First every kind the image view reads, so that no picture is hidden
    // until the user finds its own filter.
    return qtFileFilter(QStringLiteral(
        "All Pictures|*.GIF;*.PNG;*.JPG;*.JPEG;*.JPE;*.BMP;*.TIF;*.TIFF;*.PCX;*.ICO;*.WMF|"
        "GIF Images (*.GIF)|*.GIF|JPEG Images (*.JPEG & *.JPG)|*.JPEG;*.JPG|PNG Files (*.PNG)|*.PNG|All Files (*.*)|*.*"));
}

QString soundFilter()
{
    return qtFileFilter(QStringLiteral("AU Files (*.AU)|*.AU|All Files (*.*)|*.*"));
}

QString anyFileFilter()
{
    return qtFileFilter(QStringLiteral("All Files (*.*)|*.*"));
}

std::optional<QString> FileChooserDialog::run(Prompts *prompts, const QString &rememberedFolder,
                                             const DialogContext &context)
{
    QString last = rememberedFolder.isEmpty() ? m_directory : rememberedFolder;
    const QString project = context.projectFolder ? context.projectFolder() : QString();
    // A saved design's files belong with it: a folder outside the project's
    // is not where the next one is looked for.
    const auto within = [](const QString &folder, const QString &top) {
        return (QDir::cleanPath(folder) + QLatin1Char('/')).startsWith(QDir::cleanPath(top) + QLatin1Char('/'));
    };
    if (!project.isEmpty() && (last.isEmpty() || !within(last, project)))
        last = project;
    m_directory = last.isEmpty() ? QDir::homePath() : last;
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.caption = QStringLiteral("Open");
    request.directory = m_directory;
    request.filter = m_filter;
    std::optional<QString> chosen = prompts->fileDialog(request);
    if (chosen)
        m_directory = folderPart(*chosen);
    return chosen;
}

TPMultiImage *makePreview(QWidget *parent, const ImageViewContext &context)
{
    auto *preview = new TPMultiImage(parent, context);
    preview->setBorderStyle(TPMultiImage::bsSingle);
    preview->setStretch(true);
    preview->setFocusPolicy(Qt::NoFocus);
    preview->setFixedSize(156, 65);
    preview->setImageName(fileNotFoundName());
    return preview;
}

QLabel *previewCaption(QWidget *parent)
{
    auto *label = new QLabel(QStringLiteral("Image\nPreview:"), parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    return label;
}

void setHelpContext(QWidget *page, int n)
{
    qm::help::setContext(page, n);
    for (QWidget *w : page->findChildren<QWidget *>())
        qm::help::setContext(w, n);
}

QLabel *fieldLabel(const QString &text, QWidget *parent, QWidget *buddy)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

qm::LimitedTextEdit *makeTextBox(QWidget *parent, const QString &name, int lines)
{
    auto *box = new qm::LimitedTextEdit(parent);
    box->setObjectName(name);
    box->setTabChangesFocus(true);
    if (lines == 1) {
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    box->setFixedHeight(box->fontMetrics().lineSpacing() * lines + 2 * box->frameWidth()
                        + 2 * int(box->document()->documentMargin()) + 2);
    return box;
}

void centreOnScreen(QWidget *window)
{
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        window->move((area.width() - window->width()) / 2, (area.height() - window->height()) / 2);
    }
}

} // namespace qm::dialogs

PropertyDialog::PropertyDialog(QWidget *parent, const QString &name, const QString &caption)
    : QDialog(parent)
{
    setObjectName(name);
    setWindowTitle(caption);
    setModal(true);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setAutoDefault(false);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(PageControl1, &QTabWidget::currentChanged, this, &PropertyDialog::followPage);

    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(OKBtn);
    row->addWidget(CancelBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(row);
}

void PropertyDialog::reject()
{
    done(int(qm::ModalResult::Cancel));
}

void PropertyDialog::followPage(int index)
{
    // A dialog that has just opened has the focus on its tab bar: F1 there,
    // or on OK and Cancel, explains the page on show.
    const int context = qm::help::ownContext(PageControl1->widget(index));
    qm::help::setContext(PageControl1, context);
    qm::help::setContext(this, context);
}

void PropertyDialog::addPage(QWidget *page, const QString &caption, int helpContext)
{
    PageControl1->addTab(page, caption);
    qm::dialogs::setHelpContext(page, helpContext);
    followPage(PageControl1->currentIndex());
    // The page's controls joined the dialog's tab order at its end, after OK
    // and Cancel; those two go last again.
    auto onPage = [page](const QWidget *w) {
        while (w && w != page)
            w = w->parentWidget();
        return w == page;
    };
    QWidget *last = PageControl1;
    for (QWidget *w = page->nextInFocusChain(); onPage(w); w = w->nextInFocusChain())
        if (w->focusPolicy() != Qt::NoFocus)
            last = w;
    setTabOrder(last, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
}

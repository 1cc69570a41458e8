#include "platform/desktoprecent.h"

#include "platform/fileops.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>
#include <QXmlStreamReader>

namespace qm {

namespace {

constexpr const char *kBookmarkNs = "http://www.freedesktop.org/standards/desktop-bookmarks";
constexpr const char *kMimeNs = "http://www.freedesktop.org/standards/shared-mime-info";
// The desktop's lists hold a few hundred entries; one far beyond this is
// no list worth reading.
constexpr qint64 kMaxListBytes = qint64(16) * 1024 * 1024;

QString attr(const QString &value)
{
    return QLatin1Char('"') + value.toHtmlEscaped() + QLatin1Char('"');
}

// Our entry, in the form the desktop's own programs write.
QString bookmark(const QString &href, const QString &added, const QString &when, int count)
{
    return QStringLiteral("  <bookmark href=%1 added=%2 modified=%3 visited=%3>\n"
                          "    <info>\n"
                          "      <metadata owner=\"http://freedesktop.org\">\n"
                          "        <mime:mime-type type=\"application/x-quillmap\"/>\n"
                          "        <bookmark:applications>\n"
                          "          <bookmark:application name=\"Quillmap\" exec=\"&apos;quillmap %f&apos;\" "
                          "modified=%3 count=\"%4\"/>\n"
                          "        </bookmark:applications>\n"
                          "      </metadata>\n"
                          "    </info>\n"
                          "  </bookmark>\n")
        .arg(attr(href), attr(added), attr(when))
        .arg(count);
}

// Whether the list's root names the two namespaces under the prefixes our
// entry uses.
bool declaresPrefixes(const QXmlStreamNamespaceDeclarations &declared)
{
    int found = 0;
    for (const QXmlStreamNamespaceDeclaration &d : declared) {
        found += (d.prefix() == QLatin1String("bookmark") && d.namespaceUri() == QLatin1String(kBookmarkNs))
            || (d.prefix() == QLatin1String("mime") && d.namespaceUri() == QLatin1String(kMimeNs));
    }
    return found == 2;
}

} // namespace

std::optional<QByteArray> desktopRecentWith(const QByteArray &xbel, const QString &file, const QDateTime &now)
{
    const QString href = QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded);
    const QString when = now.toUTC().toString(Qt::ISODateWithMs);
    // Only our own entry changes: everything else keeps its very characters.
    QString text = xbel.trimmed().isEmpty()
        ? QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xbel version=\"1.0\"\n"
                         "      xmlns:bookmark=\"%1\"\n      xmlns:mime=\"%2\">\n</xbel>\n")
              .arg(QLatin1String(kBookmarkNs), QLatin1String(kMimeNs))
        : QString::fromUtf8(xbel);
    QXmlStreamReader r(text);
    qint64 ourStart = -1, ourEnd = -1, close = -1;
    QString added = when;
    int count = 0, depth = 0;
    bool declared = false;
    // The reader's offsets may stand one character past where a tag begins
    // (it has looked ahead); each is taken back to the tag's own '<'.
    while (!r.atEnd()) {
        const qint64 before = r.characterOffset();
        r.readNext();
        if (r.isStartElement()) {
            ++depth;
            if (depth == 1)
                declared = r.name() == QLatin1String("xbel") && declaresPrefixes(r.namespaceDeclarations());
            if (depth == 2 && r.name() == QLatin1String("bookmark") && r.attributes().value(QLatin1String("href")) == href
                && ourStart < 0) {
                ourStart = text.lastIndexOf(QLatin1Char('<'), before);
                if (r.attributes().hasAttribute(QLatin1String("added")))
                    added = r.attributes().value(QLatin1String("added")).toString();
                // Inside it: how often we used it before.
                for (int inner = 1; inner > 0 && !r.atEnd();) {
                    r.readNext();
                    if (r.isStartElement()) {
                        ++inner;
                        if (r.name() == QLatin1String("application") && r.namespaceUri() == QLatin1String(kBookmarkNs)
                            && r.attributes().value(QLatin1String("name")) == QLatin1String("Quillmap"))
                            count = r.attributes().value(QLatin1String("count")).toInt();
                    } else if (r.isEndElement()) {
                        --inner;
                    }
                }
                ourEnd = text.indexOf(QLatin1Char('>'), text.lastIndexOf(QLatin1String("</bookmark"), r.characterOffset())) + 1;
                --depth;
            }
        } else if (r.isEndElement()) {
            if (depth == 1)
                close = text.lastIndexOf(QLatin1String("</"), before);
            --depth;
        }
    }
    if (r.hasError() || close < 0 || !declared)
        return std::nullopt;
    text.insert(close, bookmark(href, added, when, count + 1));
    if (ourStart >= 0) {
        // With the line it stood on, when it stood alone there.
        while (ourEnd < text.size() && text.at(ourEnd) == QLatin1Char(' '))
            ++ourEnd;
        if (ourEnd < text.size() && text.at(ourEnd) == QLatin1Char('\n'))
            ++ourEnd;
        while (ourStart > 0 && text.at(ourStart - 1) == QLatin1Char(' '))
            --ourStart;
        text.remove(ourStart, ourEnd - ourStart);
    }
    return text.toUtf8();
}

bool noteDesktopRecent(const QString &listFile, const QString &file, const QDateTime &now)
{
    QByteArray bytes;
    if (QFileInfo::exists(listFile)) {
        QFile f;
        if (!openRegularFile(listFile, f, kMaxListBytes) || !readAtMost(f, kMaxListBytes, &bytes))
            return false;
    }
    const std::optional<QByteArray> updated = desktopRecentWith(bytes, file, now);
    if (!updated || !QDir().mkpath(QFileInfo(listFile).absolutePath()))
        return false;
    QSaveFile out(listFile);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(*updated);
    return out.commit();
}

} // namespace qm

#include "ourtextbrowser.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

OurTextBrowser::OurTextBrowser(QWidget *parent)
    : QTextBrowser(parent), regions{}, regionCount(0), currentRegion(nullptr)
{
    // A click on a link is only reported through anchorClicked; the panel answers it by rendering again.
    setOpenLinks(false);
}

void OurTextBrowser::resetRegions()
{
    regionCount = 0;
    regions[0].start = 0;
    regions[0].end = 0;
}

void OurTextBrowser::beginRegion(int start)
{
    if (regionCount != 0 && start != 0)
        regions[regionCount - 1].end = start - 1;
    if (regionCount < MaxRegions)
        regions[regionCount].start = start;
}

void OurTextBrowser::addRegion(int end, int codeIndex, int usageIndex, int flags)
{
    if (regionCount >= MaxRegions)
        return;
    TextRegion &region = regions[regionCount];
    region.end = end;
    region.codeIndex = codeIndex;
    region.usageIndex = usageIndex;
    region.flags = flags;
    if (regionCount + 1 < MaxRegions)
        regions[regionCount + 1].start = end + 1;
    ++regionCount;
}

TextRegion *OurTextBrowser::regionAt(int position)
{
    if (regionCount == 0)
        return nullptr;
    for (int i = 0; i < regionCount; ++i) {
        if (regions[i].start <= position && position <= regions[i].end)
            return &regions[i];
    }
    return &regions[regionCount - 1];
}

namespace {

// "part of speech: verb" for the anchor "0_part_of_speech" that shows "verb": the anchor's field words
// after its code and usage numbers, and the text shown.
QString linkName(const QString &anchor, const QString &shown)
{
    QStringList words = anchor.split(QLatin1Char('_'), Qt::SkipEmptyParts);
    while (!words.isEmpty() && !words.first().isEmpty() && words.first().at(0).isDigit())
        words.removeFirst();
    return words.join(QLatin1Char(' ')) + QLatin1String(": ") + shown;
}

} // namespace

QList<DetailsLink> OurTextBrowser::links() const
{
    QList<DetailsLink> found;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString anchor = fragment.charFormat().anchorHref();
            if (!fragment.isValid() || anchor.isEmpty())
                continue;
            const int start = fragment.position();
            const int end = start + fragment.length();
            // One anchor written in several formats (an italic part, a bold part) is one link.
            if (!found.isEmpty() && found.last().end == start && found.last().anchor == anchor)
                found.last().end = end;
            else
                found.append(DetailsLink{start, end, anchor, QString()});
        }
    }
    QTextCursor cursor(document());
    for (DetailsLink &link : found) {
        cursor.setPosition(link.start);
        cursor.setPosition(link.end, QTextCursor::KeepAnchor);
        link.name = linkName(link.anchor, cursor.selectedText().replace(QChar::Nbsp, QLatin1Char(' ')).trimmed());
    }
    return found;
}

int OurTextBrowser::selectedLink() const
{
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return -1;
    const QList<DetailsLink> all = links();
    for (int i = 0; i < all.size(); ++i) {
        if (all.at(i).start == cursor.selectionStart() && all.at(i).end == cursor.selectionEnd())
            return i;
    }
    return -1;
}

void OurTextBrowser::focusOutSlot()
{
    emit alertFocusGone();
}

void OurTextBrowser::mouseReleaseEvent(QMouseEvent *event)
{
    // A link click is handled (and the word rendered again) inside the standard handling, so the
    // region is looked up on the new content.
    QTextBrowser::mouseReleaseEvent(event);
    const int position = cursorForPosition(event->position().toPoint()).position();
    TextRegion *region = regionAt(position);
    if (!region)
        return;
    currentRegion = region;
    emit announceContextChange(true, region->flags & CodeHere, region->flags & AddUsage, region->flags & UsageHere);
    QTextCursor cursor(document());
    const int last = document()->characterCount() - 1;
    cursor.setPosition(qBound(0, region->start, last));
    cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor, 1);
    setTextCursor(cursor);
}

void OurTextBrowser::focusOutEvent(QFocusEvent *)
{
    // The standard handling is skipped on purpose: the window hears of the focus loss a little later,
    // after a click on one of its buttons has been delivered.
    QTimer::singleShot(200, this, &OurTextBrowser::focusOutSlot);
}

bool OurTextBrowser::focusNextPrevChild(bool next)
{
    const QTextCursor before = textCursor();
    const bool moved = QTextBrowser::focusNextPrevChild(next);
    // Tab selects the next link without telling assistive technology, which then cannot announce it.
    const QTextCursor after = textCursor();
    if (moved && hasFocus() && (after.anchor() != before.anchor() || after.position() != before.position())) {
        QAccessibleTextSelectionEvent selection(this, after.selectionStart(), after.selectionEnd());
        selection.setCursorPosition(after.position());
        QAccessible::updateAccessibility(&selection);
    }
    return moved;
}

void OurTextBrowser::doSetSource(const QUrl &, QTextDocument::ResourceType)
{
    // Never load another document.
}

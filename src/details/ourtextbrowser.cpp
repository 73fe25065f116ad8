#include "ourtextbrowser.h"

#include <QMouseEvent>
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

void OurTextBrowser::doSetSource(const QUrl &, QTextDocument::ResourceType)
{
    // Never load another document.
}

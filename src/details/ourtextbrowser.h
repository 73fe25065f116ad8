#pragma once

#include <QTextBrowser>

class QFocusEvent;
class QMouseEvent;

/// A stretch of the details text that belongs to one grammar code or one usage, with its context flags.
struct TextRegion
{
    int start;
    int end;
    int codeIndex;
    int usageIndex;
    int flags;
};

/// A link of the details text: the characters it covers in the document (end exclusive), its anchor and what
/// a reader calls it: the field it changes and the value it shows, as in "part of speech: verb".
struct DetailsLink
{
    int start;
    int end;
    QString anchor;
    QString name;
};

/// The details text browser: records which text region belongs to which grammar code or usage and
/// announces, on a click, what may be done there; links are only reported, never followed.
class OurTextBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    /// The region table holds at most this many regions; clicks past them fall back to the last one.
    static constexpr int MaxRegions = 50;

    /// Context flags of a region.
    enum ContextFlag
    {
        AddCode = 1,
        CodeHere = 2,
        AddUsage = 4,
        UsageHere = 8
    };

    explicit OurTextBrowser(QWidget *parent = nullptr);

    void resetRegions();
    void beginRegion(int start);
    void addRegion(int end, int codeIndex, int usageIndex, int flags);
    TextRegion *regionAt(int position);

    /// The links of the text shown, in document order.
    QList<DetailsLink> links() const;
    /// The link whose characters the text cursor's selection covers, as Tab leaves it; -1 when none.
    int selectedLink() const;

    TextRegion regions[MaxRegions];
    int regionCount;
    TextRegion *currentRegion;

signals:
    void announceContextChange(bool addCode, bool codeHere, bool addUsage, bool usageHere);
    void alertFocusGone();

public slots:
    void focusOutSlot();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void doSetSource(const QUrl &name, QTextDocument::ResourceType type) override;
};

#include "predictiontestwindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Edits made in an editor window reach the engine at once; a look this often keeps the offers current
// without the person noticing a delay, and costs nothing while the dictionary is unchanged.
const int watchIntervalMs = 250;

} // namespace

PredictionTestWindow::PredictionTestWindow(DictionaryReference dictionary, QWidget *parent)
    : QDialog(parent), m_dictionary(dictionary), m_line(new QLineEdit(this)), m_offers(new QTreeWidget(this))
{
    setWindowTitle(tr("Test Prediction - %1").arg(dictionary.displayName()));
    auto typeLabel = new QLabel(tr("&Type as you would in a document:"), this);
    typeLabel->setBuddy(m_line);
    m_line->setAccessibleName(tr("Text to predict from"));
    m_line->setAccessibleDescription(tr("Type here; the words offered for the word you are typing are listed "
                                        "below and change with every key."));
    auto offersLabel = new QLabel(tr("&Words offered next, best first:"), this);
    offersLabel->setBuddy(m_offers);
    m_offers->setAccessibleName(tr("Words offered next"));
    m_offers->setAccessibleDescription(tr("The words prediction offers for the word being typed, the likeliest "
                                          "first, with their frequency, parts of speech and why each is offered."));
    m_offers->setHeaderLabels({tr("Word"), tr("Frequency"), tr("Part of speech"), tr("Why")});
    m_offers->setRootIsDecorated(false);
    m_offers->setUniformRowHeights(true);
    m_offers->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto layout = new QVBoxLayout(this);
    layout->addWidget(typeLabel);
    layout->addWidget(m_line);
    layout->addWidget(offersLabel);
    layout->addWidget(m_offers);
    resize(360, 330);

    connect(m_line, &QLineEdit::textChanged, this, &PredictionTestWindow::refresh);
    connect(&m_watch, &QTimer::timeout, this, &PredictionTestWindow::refreshIfChanged);
    m_watch.start(watchIntervalMs);
    refresh();
}

PredictionTestWindow::~PredictionTestWindow() = default;

QString PredictionTestWindow::wordBeingTyped() const
{
    const QString text = m_line->text();
    qsizetype start = text.size();
    while (start > 0 && Prediction::isWordCharacter(text.at(start - 1)))
        --start;
    return text.mid(start);
}

void PredictionTestWindow::refreshIfChanged()
{
    if (m_dictionary != 0 && isVisible() && m_dictionary->revision() != m_shownRevision)
        refresh();
}

void PredictionTestWindow::refresh()
{
    m_offers->clear();
    if (m_dictionary == 0)
        return;
    m_shownRevision = m_dictionary->revision();
    const QString typing = wordBeingTyped();
    const QString context = m_line->text().chopped(typing.size());
    QList<QTreeWidgetItem *> rows;
    for (const PredictionOffer &offer : m_dictionary->predictOffers(context, typing, offerCount)) {
        QStringList parts;
        if (const Word *word = m_dictionary->peekWord(offer.word)) {
            for (const GCode *code : word->codes) {
                if (!parts.contains(code->partOfSpeech))
                    parts << code->partOfSpeech;
            }
        }
        QStringList why{tr("frequency")};
        if (offer.followsPrevious)
            why << tr("follows the previous word");
        if (!offer.usageOf.isEmpty())
            why << tr("usage of \"%1\"").arg(offer.usageOf);
        if (offer.fitsKind)
            why << tr("fits after the previous word");
        if (offer.usedInText)
            why << tr("used earlier in the text");
        rows << new QTreeWidgetItem({offer.word, QString::number(offer.frequency), parts.join(QStringLiteral(", ")),
                                     why.join(QStringLiteral(", "))});
    }
    m_offers->addTopLevelItems(rows);
    if (!rows.isEmpty())
        m_offers->setCurrentItem(rows.first());
}

QStringList PredictionTestWindow::offers() const
{
    QStringList lines;
    for (int i = 0; i < m_offers->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = m_offers->topLevelItem(i);
        lines << row->text(0) + QLatin1Char('\t') + row->text(1) + QLatin1Char('\t') + row->text(2);
    }
    return lines;
}

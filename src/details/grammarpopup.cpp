#include "grammarpopup.h"

#include <QCheckBox>
#include <QCursor>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSet>
#include <QTextBrowser>

#include "adverbselectiondlg.h"
#include "menusonly.h"
#include "ourtextbrowser.h"
#include "selectiondlg.h"
#include "ui_grammarpopup.h"

QString GrammarPopUp::lastWordText;

const QString GrammarPopUp::lineMarker = QStringLiteral("%^&*!(@**)#($*");

namespace {

const QString colour; // every font tag carries an empty colour

QString repeated(const char *piece, int times)
{
    return QString::fromLatin1(piece).repeated(times);
}

// Subcodes stored as these stand for "none" and are shown as nothing.
QString displayedSubcode(const QString &subcode)
{
    if (subcode == QLatin1String("0") || subcode == QLatin1String("????") || subcode == QLatin1String("-"))
        return QString();
    return subcode;
}

} // namespace

GrammarPopUp::GrammarPopUp(DictionaryReference dictionary, bool writable, QWidget *editor)
    : QWidget(editor), textBrowser(nullptr), WordNameBox(nullptr), nameBoxHeight(0), editor(editor),
      currentWord(nullptr), menus(nullptr), dictionary(dictionary), writable(writable), ui(new Ui::GrammarPopUpClass)
{
    ui->setupUi(this);
    textBrowser = ui->textBrowser;
    WordNameBox = ui->WordNameBox;
    menus = new MenusOnly(writable, this);
    nameBoxHeight = 50;
    WordNameBox->setGeometry(0, 0, width(), nameBoxHeight);
    textBrowser->move(0, nameBoxHeight);
    codeFont = QFont(QStringLiteral("Times New Roman"), 5);
    frequencyFont = QFont(QStringLiteral("Times New Roman"), 5);
    wordFont = QFont(QStringLiteral("Times New Roman"), 5);
    exampleFont = QFont(QStringLiteral("Times New Roman"), 4);
    patternFont = QFont(QStringLiteral("Times New Roman"), 4);
    textBrowser->setVisible(true);
}

GrammarPopUp::~GrammarPopUp() = default;

void GrammarPopUp::setWritable(bool writable)
{
    this->writable = writable;
}

QString GrammarPopUp::fillPlaceholder(const QString &text, int number, const QString &value)
{
    const QString placeholder = QLatin1Char('%') + QString::number(number);
    QString result;
    result.reserve(text.size() + value.size());
    int from = 0;
    for (;;) {
        const int at = text.indexOf(placeholder, from);
        if (at < 0)
            break;
        const int after = at + placeholder.size();
        // "%1" must not take the front of "%10".
        if (after < text.size() && text.at(after).isDigit()) {
            result += QStringView(text).mid(from, after - from);
            from = after;
            continue;
        }
        result += QStringView(text).mid(from, at - from);
        result += value;
        from = after;
    }
    result += QStringView(text).mid(from);
    return result;
}

namespace {

// Fills %1, %2, ... in turn, each fill working on what the earlier ones produced.
QString fill(const QString &pattern, const QStringList &values)
{
    QString text = pattern;
    for (int i = 0; i < values.size(); ++i)
        text = GrammarPopUp::fillPlaceholder(text, i + 1, values.at(i));
    return text;
}

} // namespace

QString GrammarPopUp::formatLine(const QString &family, unsigned indent, int size, const QString &colour, bool bold,
                                 const QString &text) const
{
    QString line = repeated("&nbsp;", int(indent));
    line += fill(QStringLiteral("<font face = \"%3\" size=%1 color=%2>"), {QString::number(size), colour, family});
    if (bold)
        line += QStringLiteral("<b>");
    line += text;
    if (bold)
        line += QStringLiteral("</b>");
    line += QStringLiteral("</font>");
    return line;
}

void GrammarPopUp::appendFormattedLine(const QString &family, unsigned indent, int size, const QString &colour,
                                       bool bold, const QString &text)
{
    textBrowser->append(formatLine(family, indent, size, colour, bold, text));
}

void GrammarPopUp::appendFrequencyLine(int codeIndex, const QString &frequency)
{
    QString line = repeated("&nbsp;", 5);
    line += fill(QStringLiteral("<font face=\"%3\" size=%1 color=%2>"),
                 {QString::number(frequencyFont.pointSize()), colour, frequencyFont.family()});
    line += fill(QStringLiteral("<i>freq:</i>&nbsp;&nbsp; <a href=\"%2_frequency\">%1</a></font>"),
                 {frequency, QString::number(codeIndex)});
    textBrowser->append(line);
}

QStringList GrammarPopUp::formatExampleLines(const QStringList &labels, const QStringList &templates)
{
    QStringList lines;
    const int count = qMin(labels.size(), templates.size());
    for (int i = 0; i < count; ++i) {
        const QString head = fillPlaceholder(QStringLiteral("<b> %1"), 1, labels.at(i)) + QStringLiteral("</b>");
        QString text = templates.at(i);
        text.replace(QLatin1Char('/'), lineMarker);
        text.replace(QLatin1Char('~'), head);
        lines += text.split(lineMarker, Qt::KeepEmptyParts);
    }
    return lines;
}

QStringList GrammarPopUp::buildPatternLines(const QStringList &patterns, const QString &particlesPiece,
                                            const QString &prepositionsPiece)
{
    // A "2" standing alone as a word; \b is ASCII-minded here, so an accented letter does not join a word.
    static const QRegularExpression lonePrepositions(QStringLiteral("\\b2\\b"));
    QStringList lines;
    for (const QString &pattern : patterns) {
        QString line = repeated("&nbsp;", 9);
        line += fill(QStringLiteral("<font face=\"%3\" size=%1 color=%2>"),
                     {QString::number(patternFont.pointSize()), colour, patternFont.family()});

        QString text = pattern;
        text.replace(QLatin1Char('/'), lineMarker);

        // A "2" of the pattern that touches a word character there (as in "12" or "2nd") stays a "2",
        // even when the particles put in for its neighbouring "1" leave it standing alone.
        QList<bool> lone(text.size(), false);
        for (auto it = lonePrepositions.globalMatch(text); it.hasNext();)
            lone[it.next().capturedStart()] = true;
        QString withParticles;
        QSet<int> keptTwos;
        for (int i = 0; i < text.size(); ++i) {
            const QChar ch = text.at(i);
            if (ch == QLatin1Char('1')) {
                withParticles += particlesPiece;
                continue;
            }
            if (ch == QLatin1Char('2') && !lone.at(i))
                keptTwos.insert(int(withParticles.size()));
            withParticles += ch;
        }

        // The lone "2"s of the text as it now stands, those brought in with the particles included.
        int from = 0;
        for (auto it = lonePrepositions.globalMatch(withParticles); it.hasNext();) {
            const int at = int(it.next().capturedStart());
            if (keptTwos.contains(at))
                continue;
            line += QStringView(withParticles).mid(from, at - from);
            line += prepositionsPiece;
            from = at + 1;
        }
        line += QStringView(withParticles).mid(from);
        line += QStringLiteral("</font>");
        lines += line.split(lineMarker, Qt::KeepEmptyParts);
    }
    return lines;
}

QStringList GrammarPopUp::formatPatternLines(const QStringList &patterns, const QString &particles,
                                             const QString &prepositions, int codeIndex, int usageIndex)
{
    const QString code = QString::number(codeIndex);
    const QString usage = QString::number(usageIndex);
    // Filled from %2 on, as the anchors are written; %1 does not occur.
    QString particlesPiece = QStringLiteral("[<a href=\"%2_%3_particles\">");
    particlesPiece = fillPlaceholder(fillPlaceholder(particlesPiece, 2, code), 3, usage);
    particlesPiece += particles + QStringLiteral("</a>]");
    QString prepositionsPiece = QStringLiteral("[<a href=\"%2_%3_prepositions\">");
    prepositionsPiece = fillPlaceholder(fillPlaceholder(prepositionsPiece, 2, code), 3, usage);
    prepositionsPiece += prepositions + QStringLiteral("</a>]");
    return buildPatternLines(patterns, particlesPiece, prepositionsPiece);
}

void GrammarPopUp::appendUsageHeading(int usageIndex, int codeIndex, const QString &complementName)
{
    QString line = repeated("&nbsp;", 7);
    line += fill(QStringLiteral("<font size=%1 color=%2>"), {QStringLiteral("4"), colour});
    line += fill(
        QStringLiteral("(%3)&nbsp;&nbsp;<a href=\"%1_%4_complement\">%2</a></font>"),
        {QString::number(codeIndex), complementName, QString::number(usageIndex + 1), QString::number(usageIndex)});
    textBrowser->append(line);
}

namespace {

// The code index and usage index an anchor names ("2_subcode", "0_1_particles"); a field word reads as 0.
void readIndexes(const QString &anchor, int *codeIndex, int *usageIndex)
{
    const QStringList pieces = anchor.split(QLatin1Char('_'));
    *codeIndex = pieces.value(0).toInt();
    *usageIndex = pieces.value(1).toInt();
}

// The field of a context-menu anchor, tested in the context menu's own order.
QString contextKind(const QString &anchor)
{
    static const char *const kinds[] = {"subcode",     "part_of_speech", "complement",
                                        "preposition", "particle",       "frequency"};
    for (const char *kind : kinds) {
        if (anchor.contains(QLatin1String(kind)))
            return QString::fromLatin1(kind);
    }
    return QString();
}

// The data of the entry chosen in menu, popped up at the mouse cursor; null when none was chosen.
QVariant chooseEntry(QMenu *menu)
{
    const QAction *chosen = menu->exec(QCursor::pos());
    return chosen ? chosen->data() : QVariant();
}

} // namespace

void GrammarPopUp::requestCodeDeletion(int codeIndex)
{
    emit codeDeletionRequested(currentWord, codeIndex);
}

bool GrammarPopUp::confirmUsageDeletion()
{
    QMessageBox question(QMessageBox::NoIcon, QStringLiteral("Delete Usage?"),
                         QStringLiteral("Are you sure you want to remove this usage?"),
                         QMessageBox::Ok | QMessageBox::Cancel, nullptr);
    question.setDefaultButton(QMessageBox::Ok);
    return question.exec() == QMessageBox::Ok;
}

void GrammarPopUp::on_textBrowser_customContextMenuRequested(const QPoint &pos)
{
    const QString anchor = textBrowser->anchorAt(pos);
    if (anchor.isEmpty())
        return;
    int c = 0;
    int u = 0;
    readIndexes(anchor, &c, &u);
    const QString kind = contextKind(anchor);
    const GCode *code = currentWord ? currentWord->codes.value(c) : nullptr;

    QMenu menu;
    // A reader hears which link the menu acts on as it opens.
    for (const DetailsLink &link : textBrowser->links()) {
        if (link.anchor == anchor)
            menu.setAccessibleName(QStringLiteral("Actions on %1").arg(link.name));
    }
    QAction *addCode = nullptr;
    QAction *deleteCode = nullptr;
    QAction *addUsage = nullptr;
    QAction *deleteUsage = nullptr;
    QAction *edit = nullptr;
    if (writable) {
        if (kind == QLatin1String("part_of_speech")) {
            addCode = menu.addAction(QStringLiteral("Add Grammar Code"));
            deleteCode = menu.addAction(QStringLiteral("Delete Grammar Code"));
            addUsage = menu.addAction(QStringLiteral("Add Usage"));
            addUsage->setEnabled(code && code->canHaveUses());
        } else if (kind == QLatin1String("complement")) {
            addUsage = menu.addAction(QStringLiteral("Add Usage"));
            deleteUsage = menu.addAction(QStringLiteral("Delete Usage"));
        }
        edit = menu.addAction(QStringLiteral("Edit"));
    }
    QAction *chosen = menu.exec(QCursor::pos());
    if (!chosen || !currentWord)
        return;

    if (chosen == addCode) {
        emit codeAdditionRequested();
        displayWord(currentWord->text, currentWord, 1);
    } else if (chosen == addUsage) {
        currentWord->addUse(short(c));
        displayWord(currentWord->text, currentWord, -1);
    } else if (chosen == deleteCode) {
        requestCodeDeletion(c);
    } else if (chosen == deleteUsage) {
        if (!confirmUsageDeletion())
            return;
        currentWord->removeUse(short(c), short(u));
        displayWord(currentWord->text, currentWord, 1);
    } else if (chosen == edit) {
        on_textBrowser_anchorClicked(QUrl(anchor));
    }
}

void GrammarPopUp::on_textBrowser_anchorClicked(const QUrl &url)
{
    const QString anchor = url.path();
    if (anchor.isEmpty() || !currentWord)
        return;
    if (writable) {
        int c = 0;
        int u = 0;
        readIndexes(anchor, &c, &u);
        // The anchor comes from the last render of this word, but the word may have changed since.
        if (GCode *code = currentWord->codes.value(c))
            editField(anchor, c, u, code);
    }
    if (currentWord)
        displayWord(currentWord->text, currentWord, 1);
}

void GrammarPopUp::editField(const QString &anchor, int codeIndex, int usageIndex, GCode *code)
{
    if (anchor.contains(QLatin1String("part_of_speech"))) {
        const QVariant chosen = chooseEntry(menus->partOfSpeechMenu);
        if (!chosen.isValid())
            return;
        if (chosen.toString() == QLatin1String("DELETE"))
            requestCodeDeletion(codeIndex);
        else
            currentWord->setCodeName(codeIndex, chosen.toString());
    } else if (anchor.contains(QLatin1String("subcode"))) {
        editSubcode(codeIndex, code);
    } else if (anchor.contains(QLatin1String("frequency"))) {
        QMenu menu;
        for (int frequency = 0; frequency <= 31; ++frequency)
            menu.addAction(QString::number(frequency))->setData(QString::number(frequency));
        if (const QAction *chosen = menu.exec(QCursor::pos()))
            code->setFrequency(chosen->text());
    } else if (Usage *usage = code->usages.value(usageIndex)) {
        editUsageList(anchor, code, usage);
    }
}

void GrammarPopUp::editSubcode(int codeIndex, GCode *code)
{
    const QString partOfSpeech = code->partOfSpeech;
    QMenu *menu = nullptr;
    QMenu choices; // for any other part of speech: the code's own subcode choices
    if (partOfSpeech.contains(QLatin1String("noun"))) {
        menu = menus->nounMenu;
    } else if (partOfSpeech.contains(QLatin1String("verb"))) {
        menu = menus->verbMenu;
    } else if (partOfSpeech.contains(QLatin1String("name"))) {
        if (menus->cityEntry)
            menus->cityEntry->setVisible(dictionary.isUKGrammar());
        menu = menus->nameMenu;
    } else if (partOfSpeech.contains(QLatin1String("adj."))) {
        menu = menus->adjectiveMenu;
    } else if (partOfSpeech.contains(QLatin1String("time"))) {
        menu = menus->timeMenu;
    } else if (partOfSpeech.contains(QLatin1String("adv."))) {
        editAdverbPositions(code->adverbPositions);
    } else {
        for (const QString &choice : code->subcodeChoices)
            addMenuEntry(&choices, choice, choice);
        menu = &choices;
    }
    if (menu) {
        const QVariant chosen = chooseEntry(menu);
        if (chosen.isValid())
            currentWord->setSubcode(codeIndex, chosen.toString());
    }
    // The entries of a parentless menu have no parent either.
    qDeleteAll(choices.actions());
}

void GrammarPopUp::editUsageList(const QString &anchor, GCode *code, Usage *usage)
{
    SelectionDlg dialog(nullptr);
    const QString partOfSpeech = code->partOfSpeech;
    if (anchor.contains(QLatin1String("complement"))) {
        QStringList list = usage->complements()->codes();
        QStringList items;
        if (partOfSpeech.contains(QLatin1String("noun"))) {
            items = dialog.nounComplementItems();
            dialog.nounToTableCodes(&list);
        } else if (partOfSpeech.contains(QLatin1String("verb"))) {
            items = dialog.verbPatternItems();
            dialog.verbToTableCodes(&list);
        } else if (partOfSpeech.contains(QLatin1String("adj."))) {
            items = dialog.adjectiveComplementItems();
        }
        if (!dialog.choose(QStringLiteral("Uses"), items, &list))
            return;
        if (partOfSpeech.contains(QLatin1String("verb")))
            dialog.verbToEngineCodes(&list);
        else if (partOfSpeech.contains(QLatin1String("noun")))
            dialog.nounToEngineCodes(&list);
        usage->complements()->setCodes(list);
    } else if (anchor.contains(QLatin1String("particle"))) {
        QStringList list = usage->particles()->codes();
        if (dialog.choose(QStringLiteral("Particles"), dialog.particleItems(), &list))
            usage->particles()->setCodes(list);
    } else if (anchor.contains(QLatin1String("preposition"))) {
        QStringList list = usage->prepositions()->codes();
        if (dialog.choose(QStringLiteral("Prepositions"), dialog.prepositionItems(), &list))
            usage->prepositions()->setCodes(list);
    }
}

void GrammarPopUp::displayWord(const QString &text, Word *word, int scrollMode)
{
    int target = 0;
    if (text.isEmpty() || text != lastWordText) {
        scrollMode = 1;
        emit textBrowser->announceContextChange(true, false, false, false);
    } else {
        target = textBrowser->verticalScrollBar()->value();
    }
    lastWordText = text;

    if (!word) {
        currentWord = nullptr;
        textBrowser->clear();
        WordNameBox->clear();
        return;
    }

    textBrowser->resetRegions();
    textBrowser->currentRegion = nullptr;
    currentWord = word;
    textBrowser->setHtml(QStringLiteral("<head>"));
    WordNameBox->setHtml(QStringLiteral("<head>"));
    WordNameBox->append(formatLine(wordFont.family(), 0, wordFont.pointSize(), colour, true, text));

    const int codeCount = int(word->codes.size());
    for (int c = 0; c < codeCount; ++c) {
        const GCode *code = word->codes.at(c);
        textBrowser->beginRegion(int(textBrowser->toPlainText().size()) + 1);

        textBrowser->append(fill(QStringLiteral("&nbsp;&nbsp;<font face=\"%5\" size=%6 color=%4><a "
                                                "href=\"%3_part_of_speech\"><i>%1</i></a>&nbsp;&nbsp; <a "
                                                "href=\"%3_subcode\">%2</a></font>"),
                                 {code->partOfSpeech, displayedSubcode(code->subcode), QString::number(c), colour,
                                  codeFont.family(), QString::number(codeFont.pointSize())}));
        appendFrequencyLine(c, code->frequency);
        const QStringList examples = formatExampleLines(code->exampleLabels, code->exampleTemplates);
        for (const QString &example : examples)
            appendFormattedLine(exampleFont.family(), 5, exampleFont.pointSize(), colour, false, example);
        textBrowser->addRegion(int(textBrowser->toPlainText().size()), c, 0, code->canHaveUses() ? 7 : 3);

        const int usageCount = int(code->usages.size());
        for (int u = 0; u < usageCount; ++u) {
            const Usage *usage = code->usages.at(u);
            const Complements *complements = usage->complements();
            appendUsageHeading(u, c, complements->text());
            const QStringList patterns = formatPatternLines(complements->patterns(), usage->particles()->text(),
                                                            usage->prepositions()->text(), c, u);
            for (const QString &pattern : patterns)
                textBrowser->append(pattern);
            textBrowser->addRegion(int(textBrowser->toPlainText().size()), c, u, 12);
        }

        textBrowser->append(QStringLiteral("_____________________"));
        textBrowser->append(QString());
    }

    QScrollBar *bar = textBrowser->verticalScrollBar();
    const int max = bar->maximum();
    target = qMin(target, max);
    if (scrollMode == -1) {
        if (codeCount > 0)
            target += max / codeCount;
        target = qMin(target, max);
        scrollMode = 1;
    }
    bar->setValue(scrollMode != 0 ? target : max);
}

void GrammarPopUp::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    textBrowser->setGeometry(0, nameBoxHeight, width(), height() - nameBoxHeight);
}

void GrammarPopUp::editAdverbPositions(CodeList *positions)
{
    static const char *const codes[] = {"vp+", "+S", "+vp", "+np", "+adj", "very+", "almost+", "er"};
    if (!positions)
        return;
    const QStringList current = positions->codes();
    AdverbSelectionDlg dialog(nullptr);
    QList<QCheckBox *> boxes;
    for (int i = 0; i < 8; ++i) {
        QCheckBox *box = dialog.findChild<QCheckBox *>(QStringLiteral("checkBox_%1").arg(i + 1));
        boxes += box;
        if (box)
            box->setChecked(current.contains(QString::fromLatin1(codes[i])));
    }
    if (dialog.exec() != QDialog::Accepted)
        return;
    QStringList chosen;
    for (int i = 0; i < 8; ++i) {
        if (boxes.at(i) && boxes.at(i)->checkState() != Qt::Unchecked)
            chosen += QString::fromLatin1(codes[i]);
    }
    positions->setCodes(chosen);
}

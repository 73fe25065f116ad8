#include "grammarpopupuser.h"

#include <QCursor>
#include <QMenu>

#include "adjectiveselectiondlg.h"
#include "nameselectiondlg.h"
#include "nameselectiondlguk.h"
#include "nounselectiondlg.h"
#include "nounselectiondlguk.h"
#include "ourtextbrowser.h"
#include "partofspeechselectiondlg.h"
#include "verbselectiondlg.h"

namespace {

// Runs a radio dialog built for one modal run; the chosen code, or an empty string after Cancel.
template<typename Dialog> QString chooseCode(const QString &current)
{
    Dialog dialog(current, nullptr);
    if (dialog.exec() == 0)
        return QString();
    return dialog.selectedCode();
}

} // namespace

GrammarPopUpUser::GrammarPopUpUser(DictionaryReference dictionary, bool writable, QWidget *editor)
    : GrammarPopUp(dictionary, writable, editor)
{
    textBrowser->setContextMenuPolicy(Qt::NoContextMenu);
}

QStringList GrammarPopUpUser::formatExampleLines(const QStringList &labels, const QStringList &templates)
{
    return GrammarPopUp::formatExampleLines(labels, templates);
}

QStringList GrammarPopUpUser::formatPatternLines(const QStringList &patterns, const QString &particles,
                                                 const QString &prepositions, int, int)
{
    const QString particlesPiece = QStringLiteral(" [") + particles + QStringLiteral("] ");
    const QString prepositionsPiece = QStringLiteral(" [") + prepositions + QStringLiteral("] ");
    return buildPatternLines(patterns, particlesPiece, prepositionsPiece);
}

void GrammarPopUpUser::appendUsageHeading(int usageIndex, int, const QString &complementName)
{
    QString line = QStringLiteral("&nbsp;").repeated(7);
    line += fillPlaceholder(fillPlaceholder(QStringLiteral("<font size=%1 color=%2>"), 1, QStringLiteral("4")), 2,
                            QString());
    line += fillPlaceholder(fillPlaceholder(QStringLiteral("(%2)&nbsp;&nbsp;%1</font>"), 1, complementName), 2,
                            QString::number(usageIndex + 1));
    textBrowser->append(line);
}

void GrammarPopUpUser::on_textBrowser_customContextMenuRequested(const QPoint &) {}

void GrammarPopUpUser::on_textBrowser_anchorClicked(const QUrl &url)
{
    const QString anchor = url.path();
    if (anchor.isEmpty() || !currentWord)
        return;
    if (!writable) {
        displayWord(currentWord->text, currentWord, 1);
        return;
    }

    const int codeIndex = anchor.split(QLatin1Char('_')).first().toInt();
    GCode *code = currentWord->codes.value(codeIndex);
    if (code) {
        if (anchor.contains(QLatin1String("part_of_speech"))) {
            const QString chosen = chooseCode<PartOfSpeechSelectionDlg>(code->partOfSpeech);
            if (!chosen.isEmpty())
                currentWord->setCodeName(codeIndex, chosen);
        } else if (anchor.contains(QLatin1String("subcode"))) {
            const QString partOfSpeech = code->partOfSpeech;
            QString chosen;
            if (partOfSpeech.contains(QLatin1String("noun"))) {
                chosen = dictionary.isUKGrammar() ? chooseCode<NounSelectionDlgUK>(code->subcode)
                                                  : chooseCode<NounSelectionDlg>(code->subcode);
            } else if (partOfSpeech.contains(QLatin1String("verb"))) {
                chosen = chooseCode<VerbSelectionDlg>(code->subcode);
            } else if (partOfSpeech.contains(QLatin1String("name"))) {
                chosen = dictionary.isUKGrammar() ? chooseCode<NameSelectionDlgUK>(code->subcode)
                                                  : chooseCode<NameSelectionDlg>(code->subcode);
            } else if (partOfSpeech.contains(QLatin1String("adj."))) {
                chosen = chooseCode<AdjectiveSelectionDlg>(code->subcode);
            } else if (partOfSpeech.contains(QLatin1String("adv."))) {
                editAdverbPositions(code->adverbPositions);
            }
            if (!chosen.isEmpty())
                code->setSubcode(chosen);
        } else if (anchor.contains(QLatin1String("frequency"))) {
            QMenu menu;
            for (int frequency = 1; frequency <= 20; ++frequency) {
                QAction *entry = menu.addAction(QString::number(frequency));
                entry->setData(QString::number(frequency));
            }
            if (QAction *chosen = menu.exec(QCursor::pos()))
                code->setFrequency(chosen->text());
        }
    }
    displayWord(currentWord->text, currentWord, 1);
}

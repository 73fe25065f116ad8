// Keyboard and screen-reader access to the editor under the host's set-up: every text of the window and
// its dialogs fits its widget in the host's font, every focusable control has a name that says what it
// is, and a person can add a word, change its grammar and save with the keyboard alone.

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTest>
#include <QTextBrowser>
#include <functional>

#include "adjectiveselectiondlg.h"
#include "adverbselectiondlg.h"
#include "changeconfirmationdlg.h"
#include "changedlg.h"
#include "dictionaryeditor.h"
#include "helpdlg.h"
#include "hostsetup.h"
#include "hostwindowmanager.h"
#include "modalanswerer.h"
#include "nameselectiondlg.h"
#include "nameselectiondlguk.h"
#include "nounselectiondlg.h"
#include "nounselectiondlguk.h"
#include "ourtextbrowser.h"
#include "partofspeechselectiondlg.h"
#include "tempdictionary.h"
#include "verbselectiondlg.h"

using FormFactory = std::function<QWidget *(DictionaryReference)>;
Q_DECLARE_METATYPE(FormFactory)

namespace {

QString plain(QString text)
{
    return text.remove(QLatin1Char('&'));
}

// Where text drawn in widget's font needs more room than the style gives it, a line saying so.
QString overflow(QWidget *widget)
{
    const QFontMetrics metrics = widget->fontMetrics();
    int needed = 0;
    int room = 0;
    QString text;
    if (auto label = qobject_cast<QLabel *>(widget)) {
        text = label->text();
        if (text.isEmpty() || Qt::mightBeRichText(text))
            return QString();
        if (label->wordWrap()) {
            needed = label->heightForWidth(label->width());
            room = label->height();
        } else {
            needed = metrics.boundingRect(QRect(), 0, text).width();
            room = label->contentsRect().width();
        }
    } else if (auto button = qobject_cast<QAbstractButton *>(widget)) {
        text = plain(button->text());
        QStyleOptionButton option;
        option.initFrom(button);
        const QStyle::SubElement contents = qobject_cast<QRadioButton *>(button) ? QStyle::SE_RadioButtonContents
                                            : qobject_cast<QCheckBox *>(button)  ? QStyle::SE_CheckBoxContents
                                                                                 : QStyle::SE_PushButtonContents;
        needed = metrics.horizontalAdvance(text);
        room = button->style()->subElementRect(contents, &option, button).width();
    } else if (auto box = qobject_cast<QGroupBox *>(widget)) {
        text = plain(box->title());
        // The title starts one frame margin in from the left edge and must end before the right one.
        const int margin = box->style()->pixelMetric(QStyle::PM_LayoutLeftMargin, nullptr, box);
        needed = metrics.horizontalAdvance(text) + 2 * margin;
        room = box->width();
    }
    if (needed <= room || text.isEmpty())
        return QString();
    return QStringLiteral("%1 \"%2\" needs %3 px, has %4").arg(widget->objectName(), text).arg(needed).arg(room);
}

// The name a screen reader reads for widget: its own accessible name, or what it shows.
QString spokenName(QWidget *widget)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

// Controls that take the focus by themselves; the inner parts of spin boxes and combo boxes go with them.
bool isFocusableControl(QWidget *widget)
{
    QWidget *parent = widget->parentWidget();
    return (widget->focusPolicy() & Qt::TabFocus) && !widget->isWindow() &&
           !(parent && (parent->inherits("QAbstractSpinBox") || parent->inherits("QComboBox")));
}

template<class Dialog> FormFactory choiceDialog(const QString &current)
{
    return [current](DictionaryReference) { return new Dialog(current); };
}

QWidget *focused()
{
    return QApplication::focusWidget();
}

} // namespace

class TestHostAccess : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void formsFitAndAreNamed_data();
    void formsFitAndAreNamed();
    void keyboardOnlyEdit();
};

void TestHostAccess::initTestCase()
{
    HostSetup::apply();
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestHostAccess::cleanup()
{
    QTRY_VERIFY(!QApplication::activeModalWidget());
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName() + QStringLiteral(" was left open")));
}

void TestHostAccess::formsFitAndAreNamed_data()
{
    QTest::addColumn<FormFactory>("make");
    QTest::newRow("editor window") << FormFactory([](DictionaryReference d) {
        DictionaryEditor *window =
            DictionaryEditor::createEditor(true, QStringLiteral("call"), d, nullptr, Qt::WindowFlags(), true);
        window->collapse(false);
        return window;
    });
    QTest::newRow("help") << FormFactory([](DictionaryReference) { return new HelpDlg; });
    QTest::newRow("change spelling") << FormFactory([](DictionaryReference) { return new ChangeDlg(nullptr, "cat"); });
    QTest::newRow("save question") << FormFactory([](DictionaryReference) { return new ChangeConfirmationDlg; });
    QTest::newRow("part of speech") << choiceDialog<PartOfSpeechSelectionDlg>("noun");
    QTest::newRow("noun") << choiceDialog<NounSelectionDlg>("reg");
    QTest::newRow("noun UK") << choiceDialog<NounSelectionDlgUK>("reg");
    QTest::newRow("name") << choiceDialog<NameSelectionDlg>("-");
    QTest::newRow("name UK") << choiceDialog<NameSelectionDlgUK>("-");
    QTest::newRow("verb") << choiceDialog<VerbSelectionDlg>("reg");
    QTest::newRow("adjective") << choiceDialog<AdjectiveSelectionDlg>("reg");
    QTest::newRow("adverb") << FormFactory([](DictionaryReference) { return new AdverbSelectionDlg; });
}

void TestHostAccess::formsFitAndAreNamed()
{
    QFETCH(FormFactory, make);
    TempDictionary dictionary({"call\tverb/reg/18/Tn:up:", "cat\tnoun/reg/16"});
    std::unique_ptr<QWidget> form(make(dictionary.reference()));
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));

    QStringList overflows, unnamed;
    for (QWidget *widget : form->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(form.get()))
            continue;
        const QString tooWide = overflow(widget);
        if (!tooWide.isEmpty())
            overflows << tooWide;
        // A name must be a word: "+" or "<<" says nothing to a person who cannot see it.
        if (isFocusableControl(widget) && !spokenName(widget).contains(QRegularExpression(QStringLiteral("\\w\\w"))))
            unnamed << widget->objectName() + QLatin1Char(' ') + widget->metaObject()->className();
    }
    QVERIFY2(overflows.isEmpty(), qPrintable(overflows.join(QStringLiteral("; "))));
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral("; "))));
    form->hide();
}

// A word typed and added with Return, its part of speech changed through the details panel's link
// (reached with Tab, followed with Return, the choice made with arrow keys), and saved with the host's key.
void TestHostAccess::keyboardOnlyEdit()
{
    TempDictionary dictionary({"call\tverb/reg/18", "cat\tnoun/reg/16"});
    HostWindowManager manager;
    DictionaryEditor *window = manager.addWindow(dictionary.reference(), true);
    manager.showAll();
    QVERIFY(QTest::qWaitForWindowActive(window));

    QTest::keyClicks(focused(), QStringLiteral("tabby"));
    QTest::keyClick(focused(), Qt::Key_Return);
    Word *added = dictionary->findWord(QStringLiteral("tabby"));
    QVERIFY(added);
    QVERIFY(!added->codes.isEmpty());
    QVERIFY(added->codes.first()->partOfSpeech != QLatin1String("verb"));

    QTest::keyClick(focused(), Qt::Key_M, Qt::ControlModifier); // the details panel shows with More
    auto details = window->findChild<OurTextBrowser *>();
    QVERIFY(details);
    for (int i = 0; i < 40 && !(focused() == details && details->textCursor().charFormat().anchorHref().contains(
                                                            QStringLiteral("part_of_speech")));
         ++i)
        QTest::keyClick(focused(), Qt::Key_Tab);
    QCOMPARE(focused(), details);

    ModalAnswerer choose;
    choose.handle([](QWidget *dialog) {
        // Tab to the chosen part of speech, move to the next one (Noun to Verb...) and accept with Return.
        for (int i = 0; i < 20 && !qobject_cast<QRadioButton *>(focused()); ++i)
            QTest::keyClick(focused(), Qt::Key_Tab);
        for (int i = 0; i < 10 && qobject_cast<QRadioButton *>(focused()); ++i) {
            if (static_cast<QRadioButton *>(focused())->text().startsWith(QLatin1String("Verb")))
                break;
            QTest::keyClick(focused(), Qt::Key_Down);
        }
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    QTest::keyClick(details, Qt::Key_Return);
    QVERIFY(choose.answered());
    QCOMPARE(added->codes.first()->partOfSpeech, QStringLiteral("verb"));

    QVERIFY(dictionary->isDirty());
    // A desktop's window manager gives the window back the activation when the dialog (which has no
    // parent) closes; the offscreen platform has none, so the test does it.
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(focused(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!dictionary->isDirty());
    QVERIFY(dictionary->reload());
    QCOMPARE(dictionary->findWord(QStringLiteral("tabby"))->codes.first()->partOfSpeech, QStringLiteral("verb"));
    window->hide();
}

QTEST_MAIN(TestHostAccess)
#include "tst_hostaccess.moc"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QLabel>
#include <QMetaMethod>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>

#include "adjectiveselectiondlg.h"
#include "adverbselectiondlg.h"
#include "modalanswerer.h"
#include "nameselectiondlg.h"
#include "nameselectiondlguk.h"
#include "nounselectiondlg.h"
#include "nounselectiondlguk.h"
#include "partofspeechselectiondlg.h"
#include "verbselectiondlg.h"

namespace {

struct DialogInfo
{
    const char *className;
    const char *title; // empty where neither the code nor the form sets one
    bool fixedSize;
    std::function<QDialog *(const QString &)> make;
    QStringList codes;        // the code of each radio button, top to bottom; empty for the adverb dialog
    QList<int> groupStarts{}; // buttons standing further below their predecessor, opening a new group
};

const QVector<DialogInfo> &dialogs()
{
    const QStringList noun{"reg", "singular only", "plural only", "plural unchanged", "uncount", "uncount or count"};
    const QStringList name{"Singular name", "Singular with 'the'", "Plural name",      "Plural with 'the'",
                           "First Name",    "Last Name",           "Time, Event",      "Time with 'the'",
                           "Location",      "Loc sing with 'the'", "Loc pl with 'the'"};
    static const QVector<DialogInfo> table = {
        {"PartOfSpeechSelectionDlg",
         "Select Part of Speech",
         true,
         [](const QString &current) { return new PartOfSpeechSelectionDlg(current); },
         {"name", "noun", "verb", "adj.", "adv.", "new"}},
        {"NounSelectionDlg", "Select Noun Type", true,
         [](const QString &current) { return new NounSelectionDlg(current); }, noun},
        {"NounSelectionDlgUK", "Select Noun Subcode", true,
         [](const QString &current) { return new NounSelectionDlgUK(current); }, noun + QStringList{"group"}},
        {"NameSelectionDlg", "", true, [](const QString &current) { return new NameSelectionDlg(current); }, name},
        {"NameSelectionDlgUK", "", false, [](const QString &current) { return new NameSelectionDlgUK(current); },
         name + QStringList{"City, etc"}},
        {"VerbSelectionDlg",
         "",
         true,
         [](const QString &current) { return new VerbSelectionDlg(current); },
         {"reg", "irreg p & pp", "p & pp = root", "reg, dbl", "irreg p&pp,dbl", "p&pp=root,dbl", "+ed (p & pp)", "past",
          "past participle"},
         {3, 6}},
        {"AdjectiveSelectionDlg",
         "",
         true,
         [](const QString &current) { return new AdjectiveSelectionDlg(current); },
         {"reg", "reg, dbl", "absolute", "comparative", "superlative"},
         {2}},
        {"AdverbSelectionDlg", "Adverb Selection", false, [](const QString &) { return new AdverbSelectionDlg; }, {}},
    };
    return table;
}

const DialogInfo &info(const QString &className)
{
    for (const DialogInfo &dialog : dialogs()) {
        if (QLatin1String(dialog.className) == className)
            return dialog;
    }
    qFatal("unknown dialog %s", qPrintable(className));
}

std::unique_ptr<QDialog> make(const QString &className, const QString &current = QString())
{
    return std::unique_ptr<QDialog>(info(className).make(current));
}

QString selectedCode(const QDialog *dialog)
{
    return qobject_cast<const RadioSelectionDlg *>(dialog)->selectedCode();
}

QString buttonName(int index)
{
    return index == 0 ? QStringLiteral("radioButton") : QStringLiteral("radioButton_%1").arg(index + 1);
}

// The choices (radio buttons or check boxes) of a dialog, top to bottom.
QList<QAbstractButton *> choices(const QDialog &dialog)
{
    QList<QAbstractButton *> buttons;
    const auto all = dialog.findChildren<QAbstractButton *>();
    for (QAbstractButton *button : all) {
        if (qobject_cast<QRadioButton *>(button) || qobject_cast<QCheckBox *>(button))
            buttons << button;
    }
    std::sort(buttons.begin(), buttons.end(), [&dialog](QAbstractButton *a, QAbstractButton *b) {
        return a->mapTo(&dialog, QPoint()).y() < b->mapTo(&dialog, QPoint()).y();
    });
    return buttons;
}

QStringList checkedButtons(const QDialog &dialog)
{
    QStringList checked;
    for (QAbstractButton *button : choices(dialog)) {
        if (button->isChecked())
            checked << button->objectName();
    }
    return checked;
}

// Ends a modal run the way a user would.
void finish(QWidget *modal, const QString &answer)
{
    auto buttonBox = modal->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    if (answer == QLatin1String("OK"))
        buttonBox->button(QDialogButtonBox::Ok)->click();
    else if (answer == QLatin1String("Cancel"))
        buttonBox->button(QDialogButtonBox::Cancel)->click();
    else if (answer == QLatin1String("Escape"))
        QTest::keyClick(modal, Qt::Key_Escape);
    else if (answer == QLatin1String("Enter"))
        QTest::keyClick(modal, Qt::Key_Enter, Qt::KeypadModifier);
    else if (answer == QLatin1String("Close"))
        modal->close();
    else
        QTest::keyClick(modal, Qt::Key_Return);
}

} // namespace

class TestSelectionDialogs : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void form_data();
    void form();
    void labels_data();
    void labels();
    void preselection_data();
    void preselection();
    void modalRun_data();
    void modalRun();
    void adjectiveAbsoluteToggle();
};

void TestSelectionDialogs::cleanup()
{
    // Every dialog lives for one run: nothing may be left behind for the next test.
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestSelectionDialogs::form_data()
{
    QTest::addColumn<QString>("dialog");
    for (const DialogInfo &dialog : dialogs())
        QTest::newRow(dialog.className) << QString::fromLatin1(dialog.className);
}

// The window and its controls: every choice shown whole, unchecked at first and standing for its code; the
// tab order; and the slots the dialog adds, since any slot named after a control is connected by name.
void TestSelectionDialogs::form()
{
    QFETCH(QString, dialog);
    const DialogInfo &expected = info(dialog);
    auto dlg = make(dialog);

    QCOMPARE(QString::fromLatin1(dlg->metaObject()->className()), dialog);
    QCOMPARE(dlg->objectName(), dialog + QStringLiteral("Class"));
    QCOMPARE(dlg->windowTitle(), QString::fromLatin1(expected.title));
    // Qt adds the system menu hint itself when the flags are set.
    QCOMPARE(dlg->windowType(), Qt::Window);
    QVERIFY(dlg->windowFlags().testFlag(Qt::WindowTitleHint));
    QCOMPARE(dlg->parentWidget(), nullptr);
    QCOMPARE(dlg->minimumSize(), dlg->size());
    // A fixed dialog cannot be resized; the others may grow beyond their minimum in both directions.
    if (expected.fixedSize) {
        QCOMPARE(dlg->maximumSize(), dlg->minimumSize());
    } else {
        QVERIFY(dlg->maximumWidth() > dlg->width());
        QVERIFY(dlg->maximumHeight() > dlg->height());
    }

    QStringList slotNames;
    const QMetaObject *meta = dlg->metaObject();
    for (int i = QDialog::staticMetaObject.methodCount(); i < meta->methodCount(); ++i) {
        if (meta->method(i).methodType() == QMetaMethod::Slot)
            slotNames << QString::fromLatin1(meta->method(i).methodSignature());
    }
    QStringList expectedSlots{"on_buttonBox_accepted()", "on_buttonBox_rejected()"};
    if (dialog == QLatin1String("AdjectiveSelectionDlg"))
        expectedSlots.prepend(QStringLiteral("on_radioButton_3_toggled(bool)"));
    QCOMPARE(slotNames, expectedSlots);

    dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
    auto frame = dlg->findChild<QFrame *>(QStringLiteral("frame"));
    QVERIFY(frame);
    QCOMPARE(frame->frameShape(), QFrame::Box);
    QCOMPARE(frame->frameShadow(), QFrame::Plain);
    auto buttonBox = dlg->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    QVERIFY(buttonBox);
    QCOMPARE(buttonBox->orientation(), Qt::Horizontal);
    QCOMPARE(buttonBox->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QVERIFY(buttonBox->button(QDialogButtonBox::Ok)->isDefault());
    QVERIFY(!buttonBox->button(QDialogButtonBox::Cancel)->isDefault());
    QVERIFY(dlg->rect().contains(frame->geometry()));
    QVERIFY(dlg->rect().contains(buttonBox->geometry()));
    QVERIFY(frame->geometry().bottom() < buttonBox->geometry().top());
    QVERIFY(buttonBox->height() >= buttonBox->sizeHint().height());
    if (auto label = dlg->findChild<QLabel *>(QStringLiteral("label"))) {
        QVERIFY(label->geometry().bottom() < frame->geometry().top());
        QVERIFY(label->width() >= label->sizeHint().width());
    }

    const QList<QAbstractButton *> buttons = choices(*dlg);
    int plainGap = -1;
    for (int i = 0; i < buttons.size(); ++i) {
        QAbstractButton *button = buttons.at(i);
        const QByteArray name = button->objectName().toLatin1();
        QVERIFY2(!button->isChecked(), name);
        const QRect inFrame(button->mapTo(frame, QPoint(0, 0)), button->size());
        QVERIFY2(frame->contentsRect().contains(inFrame), name);
        QVERIFY2(button->width() >= button->sizeHint().width(), name);
        QVERIFY2(button->height() >= button->sizeHint().height(), name);
        if (i == 0)
            continue;
        QVERIFY2(inFrame.top() > buttons.at(i - 1)->mapTo(frame, QPoint(0, buttons.at(i - 1)->height())).y(), name);
        const int gap = button->y() - buttons.at(i - 1)->y();
        if (expected.groupStarts.contains(i) || expected.codes.isEmpty())
            continue;
        if (plainGap < 0)
            plainGap = gap;
        QCOMPARE(gap, plainGap);
    }
    for (int start : expected.groupStarts)
        QVERIFY2(buttons.at(start)->y() - buttons.at(start - 1)->y() > plainGap, qPrintable(buttonName(start)));

    if (expected.codes.isEmpty()) {
        QCOMPARE(buttons.size(), 8);
        for (int i = 0; i < buttons.size(); ++i)
            QCOMPARE(buttons.at(i)->objectName(), QStringLiteral("checkBox_%1").arg(i + 1));
        return;
    }
    QCOMPARE(buttons.size(), expected.codes.size());
    QCOMPARE(selectedCode(dlg.get()), QString());
    for (int i = 0; i < buttons.size(); ++i) {
        QCOMPARE(buttons.at(i)->objectName(), buttonName(i));
        QVERIFY(buttons.at(i)->autoExclusive());
        QCOMPARE(buttons.at(i)->parentWidget(), buttons.first()->parentWidget());
        buttons.at(i)->click();
        QCOMPARE(selectedCode(dlg.get()), expected.codes.at(i));
        QCOMPARE(checkedButtons(*dlg), QStringList{buttonName(i)});
    }

    // Tab order: the button box, then the choices top to bottom (the focus chain is a ring).
    QStringList tabOrder;
    QWidget *widget = dlg.get();
    do {
        if (widget->focusPolicy() & Qt::TabFocus) {
            const QString name = buttonBox->isAncestorOf(widget) ? buttonBox->objectName() : widget->objectName();
            if (tabOrder.isEmpty() || tabOrder.last() != name)
                tabOrder << name;
        }
        widget = widget->nextInFocusChain();
    } while (widget != dlg.get());
    const int start = tabOrder.indexOf(buttonBox->objectName());
    QVERIFY(start >= 0);
    QStringList expectedOrder{buttonBox->objectName()};
    for (int i = 0; i < buttons.size(); ++i)
        expectedOrder << buttonName(i);
    QCOMPARE(tabOrder.mid(start) + tabOrder.mid(0, start), expectedOrder);
}

void TestSelectionDialogs::labels_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("label");

    // Only the labels that are easy to get wrong: trailing or doubled blanks, odd punctuation, the
    // examples that differ between the American and British dialogs.
    const char *rows[][3] = {
        {"PartOfSpeechSelectionDlg", "radioButton_6", "other "},
        {"NounSelectionDlgUK", "radioButton_7", "group noun: 'the army is... / the army are...."},
        {"NameSelectionDlg", "radioButton_2", "singular w 'the': 'the FBI'"},
        {"NameSelectionDlgUK", "radioButton_2", "singular w 'the': 'the Queen'"},
        {"NameSelectionDlgUK", "radioButton_12", "city, etc: 'Leeds is... / Leeds are playing Ipswich'"},
        {"VerbSelectionDlg", "radioButton_6", "p and pp = root, dbl:  'bet, bets, betting, bet, bet'"},
        {"AdjectiveSelectionDlg", "radioButton_3", "absolute: 'very BEAUTIFUL, more BEAUTIFUL'"},
        {"AdverbSelectionDlg", "label", "This word is most likely to be used in these positions:"},
        {"AdverbSelectionDlg", "checkBox_3", "He __ has __ not __ been __ gone. (really)"},
        {"AdverbSelectionDlg", "checkBox_4", "It is ___ a good thing.   (sort of, such)"},
        {"AdverbSelectionDlg", "checkBox_5", "He seems ___ good. He runs ___ fast.  (very)"},
    };
    for (const auto &row : rows)
        QTest::addRow("%s %s", row[0], row[1]) << row[0] << row[1] << row[2];
}

void TestSelectionDialogs::labels()
{
    QFETCH(QString, dialog);
    QFETCH(QString, object);
    QFETCH(QString, label);
    auto dlg = make(dialog);
    QWidget *widget = dlg->findChild<QWidget *>(object);
    QVERIFY(widget);
    QCOMPARE(widget->property("text").toString(), label);
}

void TestSelectionDialogs::preselection_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("code");

    // Every code offered opens on its own button, longer codes winning over the shorter ones they contain.
    for (const DialogInfo &dialog : dialogs()) {
        const QString name = QString::fromLatin1(dialog.className);
        for (int i = 0; i < dialog.codes.size(); ++i) {
            QTest::addRow("%s own %s", dialog.className, qPrintable(dialog.codes.at(i)))
                << name << dialog.codes.at(i) << buttonName(i) << dialog.codes.at(i);
        }
        if (!dialog.codes.isEmpty())
            QTest::addRow("%s empty", dialog.className) << name << QString() << QString() << QString();
    }

    // Keys are matched case-sensitively anywhere in the current code; the later row wins.
    const char *rows[][4] = {
        {"PartOfSpeechSelectionDlg", "time", "", ""},
        {"PartOfSpeechSelectionDlg", "Verb", "", ""},
        {"PartOfSpeechSelectionDlg", "noun phrase", "radioButton_2", "noun"},
        {"PartOfSpeechSelectionDlg", "verb name", "radioButton_3", "verb"},
        {"NounSelectionDlg", "regular", "radioButton", "reg"},
        {"NounSelectionDlg", "mass", "", ""},
        {"NounSelectionDlg", "group", "", ""},
        {"NounSelectionDlg", "group reg", "radioButton", "reg"},
        {"NameSelectionDlg", "City, etc", "", ""},
        {"NameSelectionDlgUK", "Location / Loc pl with 'the'", "radioButton_11", "Loc pl with 'the'"},
        {"VerbSelectionDlg", "past = root", "radioButton_8", "past"},
        {"VerbSelectionDlg", "pp = root", "", ""},
        {"AdjectiveSelectionDlg", "irregular", "radioButton", "reg"},
    };
    for (const auto &row : rows)
        QTest::addRow("%s %s", row[0], row[1]) << row[0] << row[1] << row[2] << row[3];
}

// The current code checks the button of the last key it contains (case-sensitive), or none.
void TestSelectionDialogs::preselection()
{
    QFETCH(QString, dialog);
    QFETCH(QString, current);
    QFETCH(QString, checked);
    QFETCH(QString, code);

    auto dlg = make(dialog, current);
    QCOMPARE(checkedButtons(*dlg), checked.isEmpty() ? QStringList() : QStringList{checked});
    QCOMPARE(selectedCode(dlg.get()), code);
}

void TestSelectionDialogs::modalRun_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("choose");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("code"); // the code handed back, or "-" when the run is rejected

    // Each dialog's own OK and Cancel connections; the other ways to end a run on one of them.
    for (const DialogInfo &dialog : dialogs()) {
        if (dialog.codes.isEmpty())
            continue;
        const QString name = QString::fromLatin1(dialog.className);
        const QString last = buttonName(dialog.codes.size() - 1);
        QTest::addRow("%s OK last", dialog.className)
            << name << dialog.codes.first() << last << "OK" << dialog.codes.last();
        QTest::addRow("%s Cancel", dialog.className) << name << dialog.codes.first() << last << "Cancel"
                                                     << "-";
    }
    const char *rows[][5] = {
        {"PartOfSpeechSelectionDlg", "verb", "", "OK", "verb"},
        {"PartOfSpeechSelectionDlg", "", "", "OK", ""},
        {"PartOfSpeechSelectionDlg", "verb", "radioButton_6", "Escape", "-"},
        {"PartOfSpeechSelectionDlg", "verb", "radioButton_6", "Return", "new"},
        {"PartOfSpeechSelectionDlg", "verb", "", "Enter", "verb"},
        {"PartOfSpeechSelectionDlg", "verb", "radioButton_6", "Close", "-"},
        {"NameSelectionDlgUK", "Location", "", "Return", "Location"},
        {"VerbSelectionDlg", "past = root", "", "OK", "past"},
        // The adverb dialog: the boxes checked before the run, those the user clicks, and those checked after.
        {"AdverbSelectionDlg", "checkBox_2,checkBox_8", "", "OK", "checkBox_2,checkBox_8"},
        {"AdverbSelectionDlg", "checkBox_2,checkBox_8", "checkBox_8,checkBox_1", "OK", "checkBox_1,checkBox_2"},
        {"AdverbSelectionDlg", "checkBox_2,checkBox_8", "checkBox_2,checkBox_8", "OK", ""},
        {"AdverbSelectionDlg", "checkBox_2,checkBox_8", "checkBox_5", "Cancel", "-"},
        {"AdverbSelectionDlg", "", "checkBox_5", "Escape", "-"},
        {"AdverbSelectionDlg", "", "checkBox_7", "Return", "checkBox_7"},
    };
    for (const auto &row : rows)
        QTest::addRow("%s %s %s %s", row[0], row[1], row[2], row[3]) << row[0] << row[1] << row[2] << row[3] << row[4];
}

// A real modal run: the answerer clicks some choices, then ends the run. After Cancel the caller writes
// nothing, so only the result is checked. The adverb dialog's boxes keep what the user set during the run.
void TestSelectionDialogs::modalRun()
{
    QFETCH(QString, dialog);
    QFETCH(QString, current);
    QFETCH(QString, choose);
    QFETCH(QString, answer);
    QFETCH(QString, code);
    const int result = code == QLatin1String("-") ? QDialog::Rejected : QDialog::Accepted;
    const bool adverb = info(dialog).codes.isEmpty();

    auto dlg = make(dialog, current);
    if (adverb) {
        for (const QString &name : current.split(QLatin1Char(','), Qt::SkipEmptyParts))
            dlg->findChild<QCheckBox *>(name)->setChecked(true);
    }
    QSignalSpy accepted(dlg.get(), &QDialog::accepted);
    QSignalSpy rejected(dlg.get(), &QDialog::rejected);
    QString seen;
    ModalAnswerer answerer;
    answerer.handle([&](QWidget *modal) {
        seen = modal->objectName();
        for (const QString &name : choose.split(QLatin1Char(','), Qt::SkipEmptyParts))
            modal->findChild<QAbstractButton *>(name)->click();
        finish(modal, answer);
    });
    const int returned = dlg->exec();
    QVERIFY(answerer.answered());
    QCOMPARE(seen, dialog + QStringLiteral("Class"));
    QCOMPARE(answerer.title(), QString::fromLatin1(info(dialog).title));
    QCOMPARE(returned, result);
    // One connection per slot: a second one would accept or reject twice.
    QCOMPARE(accepted.count(), result == QDialog::Accepted ? 1 : 0);
    QCOMPARE(rejected.count(), result == QDialog::Accepted ? 0 : 1);
    if (result == QDialog::Accepted)
        QCOMPARE(adverb ? checkedButtons(*dlg).join(QLatin1Char(',')) : selectedCode(dlg.get()), code);
}

// Toggling "absolute" has no side effect: the choice simply moves, and the dialog stays open.
void TestSelectionDialogs::adjectiveAbsoluteToggle()
{
    AdjectiveSelectionDlg dlg(QStringLiteral("comparative"));
    QSignalSpy finished(&dlg, &QDialog::finished);
    dlg.findChild<QRadioButton *>(QStringLiteral("radioButton_3"))->click();
    QCOMPARE(dlg.selectedCode(), QStringLiteral("absolute"));
    dlg.findChild<QRadioButton *>(QStringLiteral("radioButton_5"))->click();
    QCOMPARE(dlg.selectedCode(), QStringLiteral("superlative"));
    QCOMPARE(checkedButtons(dlg), QStringList{QStringLiteral("radioButton_5")});
    QCOMPARE(finished.count(), 0);
}

QTEST_MAIN(TestSelectionDialogs)
#include "tst_selectiondialogs.moc"

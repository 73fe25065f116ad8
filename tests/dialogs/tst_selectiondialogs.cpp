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
#include <QVBoxLayout>
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

// What each choice dialog must offer, top to bottom: the button's label and the code it stands for.
struct Choice
{
    const char *label;
    const char *code;
};

struct DialogSpec
{
    const char *className;
    const char *title; // empty where neither the code nor the form sets one
    int width;
    int height;
    bool fixedSize;
    bool inLayout;
    std::function<RadioSelectionDlg *(const QString &)> make;
    QVector<Choice> choices;
};

const QVector<Choice> &nounChoices()
{
    static const QVector<Choice> choices = {
        {"regular: 'one dog, two dogs'", "reg"},
        {"singular only: 'one goose'", "singular only"},
        {"plural only: 'two geese'", "plural only"},
        {"plural unchanged: 'one sheep, two sheep'", "plural unchanged"},
        {"uncount: 'some water is...'", "uncount"},
        {"uncount or count: 'some cake, one cake, two cakes'", "uncount or count"},
    };
    return choices;
}

const QVector<DialogSpec> &dialogs()
{
    static const QVector<DialogSpec> specs = {
        {"PartOfSpeechSelectionDlg",
         "Select Part of Speech",
         391,
         297,
         true,
         false,
         [](const QString &current) { return new PartOfSpeechSelectionDlg(current); },
         {
             {"Name: 'John Smith', 'London', 'Wednesday'", "name"},
             {"Noun: 'The CAR, WATER, APPLE will be interesting.'", "noun"},
             {"Verb: 'They PLAY, GO, ATE, THINK (it) fairly often.'", "verb"},
             {"Adjective: 'They are very BEAUTIFUL, AWAKE, HAPPY.'", "adj."},
             {"Adverb: 'They did it QUICKLY, SOON, OUTSIDE.'", "adv."},
             {"other ", "new"},
         }},
        {"NounSelectionDlg", "Select Noun Type", 400, 297, true, false,
         [](const QString &current) { return new NounSelectionDlg(current); }, nounChoices()},
        {"NounSelectionDlgUK", "Select Noun Subcode", 400, 333, true, false,
         [](const QString &current) { return new NounSelectionDlgUK(current); },
         nounChoices() + QVector<Choice>{{"group noun: 'the army is... / the army are....", "group"}}},
        {"NameSelectionDlg",
         "",
         400,
         387,
         true,
         true,
         [](const QString &current) { return new NameSelectionDlg(current); },
         {
             {"singular: 'John Smith'", "Singular name"},
             {"singular w 'the': 'the FBI'", "Singular with 'the'"},
             {"plural: 'Mutt and Jeff'", "Plural name"},
             {"plural w 'the': 'the Dodgers'", "Plural with 'the'"},
             {"first name: 'John'", "First Name"},
             {"last name: 'Smith'", "Last Name"},
             {"time, event: 'Christmas'", "Time, Event"},
             {"time w 'the': 'the Fourth of July'", "Time with 'the'"},
             {"location: 'Chicago'", "Location"},
             {"location, sing w 'the': 'the Lincoln Memorial'", "Loc sing with 'the'"},
             {"location, plural w 'the': 'the Alps'", "Loc pl with 'the'"},
         }},
        {"NameSelectionDlgUK",
         "",
         400,
         441,
         false,
         true,
         [](const QString &current) { return new NameSelectionDlgUK(current); },
         {
             {"singular: 'John Smith'", "Singular name"},
             {"singular w 'the': 'the Queen'", "Singular with 'the'"},
             {"plural: 'Punch and Judy'", "Plural name"},
             {"plural w 'the': 'the British'", "Plural with 'the'"},
             {"first name: 'John'", "First Name"},
             {"last name: 'Smith'", "Last Name"},
             {"time, event: 'Christmas'", "Time, Event"},
             {"time w 'the': 'the Industrial Revolution'", "Time with 'the'"},
             {"location: 'Lake Louise'", "Location"},
             {"location, sing w 'the': 'the Great Barrier Reef'", "Loc sing with 'the'"},
             {"location, plural w 'the': 'the Alps'", "Loc pl with 'the'"},
             {"city, etc: 'Leeds is... / Leeds are playing Ipswich'", "City, etc"},
         }},
        {"VerbSelectionDlg",
         "",
         400,
         365,
         true,
         false,
         [](const QString &current) { return new VerbSelectionDlg(current); },
         {
             {"regular: 'like, likes, liking, liked, liked'", "reg"},
             {"irreg. past and pp: 'see, sees, seeing, [saw, seen]'", "irreg p & pp"},
             {"past and pp = root: 'hurt, hurts, hurting, hurt, hurt'", "p & pp = root"},
             {"regular, dbl: 'trim, trims, trimming, trimmed'", "reg, dbl"},
             {"irreg, dbl: 'sit, sits, sitting, [sat, sat]'", "irreg p&pp,dbl"},
             {"p and pp = root, dbl:  'bet, bets, betting, bet, bet'", "p&pp=root,dbl"},
             {"past and past part only: 'told'", "+ed (p & pp)"},
             {"past only: 'saw'", "past"},
             {"past part only: 'seen'", "past participle"},
         }},
        {"AdjectiveSelectionDlg",
         "",
         400,
         246,
         true,
         false,
         [](const QString &current) { return new AdjectiveSelectionDlg(current); },
         {
             {"regular: 'late, later, latest'", "reg"},
             {"regular, dbl: 'big, bigger, biggest'", "reg, dbl"},
             {"absolute: 'very BEAUTIFUL, more BEAUTIFUL'", "absolute"},
             {"comparative: 'BETTER than that'", "comparative"},
             {"superlative: 'the BEST one of all'", "superlative"},
         }},
    };
    return specs;
}

const DialogSpec &spec(const QString &className)
{
    for (const DialogSpec &dialog : dialogs()) {
        if (QLatin1String(dialog.className) == className)
            return dialog;
    }
    qFatal("unknown dialog %s", qPrintable(className));
}

std::unique_ptr<RadioSelectionDlg> make(const QString &className, const QString &current)
{
    return std::unique_ptr<RadioSelectionDlg>(spec(className).make(current));
}

QString buttonName(int index)
{
    return index == 0 ? QStringLiteral("radioButton") : QStringLiteral("radioButton_%1").arg(index + 1);
}

// The object names of the checked radio buttons, in the dialog's table order.
QStringList checkedButtons(const QDialog &dialog, int count)
{
    QStringList checked;
    for (int i = 0; i < count; ++i) {
        auto button = dialog.findChild<QRadioButton *>(buttonName(i));
        if (button && button->isChecked())
            checked << buttonName(i);
    }
    return checked;
}

struct AdverbBox
{
    const char *name;
    const char *label;
};

const AdverbBox adverbBoxes[] = {
    {"checkBox_1", "He did it ___. (quickly, already)"},
    {"checkBox_2", "(Probably, Certainly) _____ he did it."},
    {"checkBox_3", "He __ has __ not __ been __ gone. (really)"},
    {"checkBox_4", "It is ___ a good thing.   (sort of, such)"},
    {"checkBox_5", "He seems ___ good. He runs ___ fast.  (very)"},
    {"checkBox_6", "very _____ (quickly, likely)"},
    {"checkBox_7", "almost _____ (always, certainly)"},
    {"checkBox_8", "He did it _____ than that. (sooner, faster)"},
};

} // namespace

class TestSelectionDialogs : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void buttons_data();
    void buttons();
    void form_data();
    void form();
    void labelsFit_data();
    void labelsFit();
    void groupGaps_data();
    void groupGaps();
    void preselection_data();
    void preselection();
    void modalRun_data();
    void modalRun();
    void slotNames_data();
    void slotNames();
    void adjectiveAbsoluteToggle();
    void adverbForm();
    void adverbModalRun_data();
    void adverbModalRun();
};

void TestSelectionDialogs::cleanup()
{
    // Every dialog lives for one run: nothing may be left behind for the next test.
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestSelectionDialogs::buttons_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("code");
    for (const DialogSpec &dialog : dialogs()) {
        for (int i = 0; i < dialog.choices.size(); ++i) {
            QTest::addRow("%s %s", dialog.className, qPrintable(buttonName(i)))
                << QString::fromLatin1(dialog.className) << i << QString::fromUtf8(dialog.choices[i].label)
                << QString::fromUtf8(dialog.choices[i].code);
        }
    }
}

// Each button shows its label, starts unchecked, sits in the frame with its siblings, and stands for its code.
void TestSelectionDialogs::buttons()
{
    QFETCH(QString, dialog);
    QFETCH(int, index);
    QFETCH(QString, label);
    QFETCH(QString, code);

    auto dlg = make(dialog, QString());
    auto button = dlg->findChild<QRadioButton *>(buttonName(index));
    QVERIFY(button);
    QCOMPARE(button->text(), label);
    QVERIFY(!button->isChecked());
    QVERIFY(button->autoExclusive());
    auto frame = dlg->findChild<QFrame *>(QStringLiteral("frame"));
    QVERIFY(frame);
    QVERIFY(frame->isAncestorOf(button));
    QCOMPARE(dlg->findChild<QRadioButton *>(buttonName(0))->parentWidget(), button->parentWidget());

    QCOMPARE(dlg->selectedCode(), QString());
    button->click();
    QCOMPARE(dlg->selectedCode(), code);
    QCOMPARE(checkedButtons(*dlg, spec(dialog).choices.size()), QStringList{buttonName(index)});
}

void TestSelectionDialogs::form_data()
{
    QTest::addColumn<QString>("dialog");
    for (const DialogSpec &dialog : dialogs())
        QTest::newRow(dialog.className) << QString::fromLatin1(dialog.className);
}

void TestSelectionDialogs::form()
{
    QFETCH(QString, dialog);
    const DialogSpec &expected = spec(dialog);
    auto dlg = make(dialog, QString());

    QCOMPARE(dlg->objectName(), dialog + QStringLiteral("Class"));
    QCOMPARE(QString::fromLatin1(dlg->metaObject()->className()), dialog);
    QCOMPARE(dlg->windowTitle(), QString::fromLatin1(expected.title));
    // Qt adds the system menu hint itself when the flags are set.
    QCOMPARE(dlg->windowType(), Qt::Window);
    QVERIFY(dlg->windowFlags().testFlag(Qt::WindowTitleHint));
    QCOMPARE(dlg->parentWidget(), nullptr);

    QCOMPARE(dlg->size(), QSize(expected.width, expected.height));
    QCOMPARE(dlg->minimumSize(), QSize(expected.width, expected.height));
    // A fixed dialog cannot be resized; the others may grow beyond their minimum in both directions.
    if (expected.fixedSize) {
        QCOMPARE(dlg->maximumSize(), dlg->minimumSize());
    } else {
        QVERIFY(dlg->maximumWidth() > expected.width);
        QVERIFY(dlg->maximumHeight() > expected.height);
    }

    auto frame = dlg->findChild<QFrame *>(QStringLiteral("frame"));
    QVERIFY(frame);
    QCOMPARE(frame->frameShape(), QFrame::Box);
    QCOMPARE(frame->frameShadow(), QFrame::Plain);

    const int count = expected.choices.size();
    QCOMPARE(dlg->findChildren<QRadioButton *>().size(), count);

    auto buttonBox = dlg->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    QVERIFY(buttonBox);
    QCOMPARE(buttonBox->orientation(), Qt::Horizontal);
    QCOMPARE(buttonBox->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QVERIFY(buttonBox->button(QDialogButtonBox::Ok)->isDefault());
    QVERIFY(!buttonBox->button(QDialogButtonBox::Cancel)->isDefault());

    // The name dialogs stack their buttons in a vertical layout, in table order.
    auto layoutWidget = dlg->findChild<QWidget *>(QStringLiteral("layoutWidget"));
    QCOMPARE(layoutWidget != nullptr, expected.inLayout);
    if (expected.inLayout) {
        QCOMPARE(layoutWidget->parentWidget(), frame);
        auto layout = qobject_cast<QVBoxLayout *>(layoutWidget->layout());
        QVERIFY(layout);
        QCOMPARE(layout->objectName(), QStringLiteral("vboxLayout"));
        QCOMPARE(layout->count(), count);
        for (int i = 0; i < count; ++i)
            QCOMPARE(layout->itemAt(i)->widget()->objectName(), buttonName(i));
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
    tabOrder = tabOrder.mid(start) + tabOrder.mid(0, start);
    QStringList expectedOrder{buttonBox->objectName()};
    for (int i = 0; i < count; ++i)
        expectedOrder << buttonName(i);
    QCOMPARE(tabOrder, expectedOrder);
}

void TestSelectionDialogs::labelsFit_data()
{
    form_data();
}

// Every choice is shown whole: inside the frame, clear of the button box, and wide enough for its label.
void TestSelectionDialogs::labelsFit()
{
    QFETCH(QString, dialog);
    auto dlg = make(dialog, QString());
    dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));

    auto frame = dlg->findChild<QFrame *>(QStringLiteral("frame"));
    auto buttonBox = dlg->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    QVERIFY(dlg->rect().contains(frame->geometry()));
    QVERIFY(dlg->rect().contains(buttonBox->geometry()));
    QVERIFY(!frame->geometry().intersects(buttonBox->geometry()));
    QVERIFY(buttonBox->height() >= buttonBox->sizeHint().height());

    const auto buttons = dlg->findChildren<QRadioButton *>();
    for (QRadioButton *button : buttons) {
        const QRect inFrame(button->mapTo(frame, QPoint(0, 0)), button->size());
        QVERIFY2(frame->contentsRect().contains(inFrame), qPrintable(button->objectName()));
        QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->text()));
        QVERIFY2(button->height() >= button->sizeHint().height(), qPrintable(button->text()));
        for (QRadioButton *other : buttons) {
            if (other != button && other->parentWidget() == button->parentWidget())
                QVERIFY2(!other->geometry().intersects(button->geometry()), qPrintable(button->objectName()));
        }
    }
}

void TestSelectionDialogs::groupGaps_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QList<int>>("groupStarts");
    QTest::newRow("verb") << QStringLiteral("VerbSelectionDlg") << QList<int>{3, 6};
    QTest::newRow("adjective") << QStringLiteral("AdjectiveSelectionDlg") << QList<int>{2};
}

// The buttons that open a new group stand further below their predecessor than the others do.
void TestSelectionDialogs::groupGaps()
{
    QFETCH(QString, dialog);
    QFETCH(QList<int>, groupStarts);
    auto dlg = make(dialog, QString());
    const int count = spec(dialog).choices.size();
    int plainGap = -1;
    for (int i = 1; i < count; ++i) {
        const int gap =
            dlg->findChild<QRadioButton *>(buttonName(i))->y() - dlg->findChild<QRadioButton *>(buttonName(i - 1))->y();
        if (!groupStarts.contains(i)) {
            if (plainGap < 0)
                plainGap = gap;
            QCOMPARE(gap, plainGap);
        }
    }
    for (int start : groupStarts) {
        const int gap = dlg->findChild<QRadioButton *>(buttonName(start))->y() -
                        dlg->findChild<QRadioButton *>(buttonName(start - 1))->y();
        QVERIFY2(gap > plainGap, qPrintable(buttonName(start)));
    }
}

void TestSelectionDialogs::preselection_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("code");

    // Every code offered opens on its own button, longer codes winning over the shorter ones they contain.
    for (const DialogSpec &dialog : dialogs()) {
        for (int i = 0; i < dialog.choices.size(); ++i) {
            QTest::addRow("%s own %s", dialog.className, dialog.choices[i].code)
                << QString::fromLatin1(dialog.className) << QString::fromUtf8(dialog.choices[i].code) << buttonName(i)
                << QString::fromUtf8(dialog.choices[i].code);
        }
        QTest::addRow("%s empty", dialog.className)
            << QString::fromLatin1(dialog.className) << QString() << QString() << QString();
    }

    const QString pos = QStringLiteral("PartOfSpeechSelectionDlg");
    QTest::newRow("pos time") << pos << "time" << QString() << QString();
    QTest::newRow("pos other") << pos << "other" << QString() << QString();
    QTest::newRow("pos Verb") << pos << "Verb" << QString() << QString();
    QTest::newRow("pos noun phrase") << pos << "noun phrase"
                                     << "radioButton_2"
                                     << "noun";
    QTest::newRow("pos name and verb") << pos << "verb name"
                                       << "radioButton_3"
                                       << "verb";

    for (const char *noun : {"NounSelectionDlg", "NounSelectionDlgUK"}) {
        const QString dlg = QString::fromLatin1(noun);
        QTest::addRow("%s uncount or count", noun) << dlg << "uncount or count"
                                                   << "radioButton_6"
                                                   << "uncount or count";
        QTest::addRow("%s regular", noun) << dlg << "regular"
                                          << "radioButton"
                                          << "reg";
        QTest::addRow("%s none", noun) << dlg << "mass" << QString() << QString();
        QTest::addRow("%s Uncount", noun) << dlg << "Uncount" << QString() << QString();
    }
    QTest::newRow("noun US group") << QStringLiteral("NounSelectionDlg") << "group" << QString() << QString();
    QTest::newRow("noun US group reg") << QStringLiteral("NounSelectionDlg") << "group reg"
                                       << "radioButton"
                                       << "reg";

    for (const char *name : {"NameSelectionDlg", "NameSelectionDlgUK"}) {
        const QString dlg = QString::fromLatin1(name);
        QTest::addRow("%s first name", name) << dlg << "first name" << QString() << QString();
        QTest::addRow("%s location", name) << dlg << "location" << QString() << QString();
    }
    QTest::newRow("name US city") << QStringLiteral("NameSelectionDlg") << "City, etc" << QString() << QString();
    QTest::newRow("name UK Location and Loc pl")
        << QStringLiteral("NameSelectionDlgUK") << "Location / Loc pl with 'the'"
        << "radioButton_11"
        << "Loc pl with 'the'";

    const QString verb = QStringLiteral("VerbSelectionDlg");
    QTest::newRow("verb past = root") << verb << "past = root"
                                      << "radioButton_8"
                                      << "past";
    QTest::newRow("verb pp = root") << verb << "pp = root" << QString() << QString();
    QTest::newRow("verb infinitive") << verb << "infinitive" << QString() << QString();
    QTest::newRow("verb regular") << verb << "regular"
                                  << "radioButton"
                                  << "reg";

    const QString adjective = QStringLiteral("AdjectiveSelectionDlg");
    QTest::newRow("adj irregular") << adjective << "irregular"
                                   << "radioButton"
                                   << "reg";
    QTest::newRow("adj Absolute") << adjective << "Absolute" << QString() << QString();
}

// The current code checks the button of the last key it contains (case-sensitive), or none.
void TestSelectionDialogs::preselection()
{
    QFETCH(QString, dialog);
    QFETCH(QString, current);
    QFETCH(QString, checked);
    QFETCH(QString, code);

    auto dlg = make(dialog, current);
    const QStringList expected = checked.isEmpty() ? QStringList() : QStringList{checked};
    QCOMPARE(checkedButtons(*dlg, spec(dialog).choices.size()), expected);
    QCOMPARE(dlg->selectedCode(), code);
}

void TestSelectionDialogs::modalRun_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("choose");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("code");

    for (const DialogSpec &dialog : dialogs()) {
        const QString name = QString::fromLatin1(dialog.className);
        const int last = dialog.choices.size() - 1;
        const QString first = QString::fromUtf8(dialog.choices[0].code);
        QTest::addRow("%s OK unchanged", dialog.className) << name << first << QString() << "OK" << 1 << first;
        QTest::addRow("%s OK nothing checked", dialog.className)
            << name << QString() << QString() << "OK" << 1 << QString();
        QTest::addRow("%s OK last", dialog.className)
            << name << first << buttonName(last) << "OK" << 1 << QString::fromUtf8(dialog.choices[last].code);
        QTest::addRow("%s Cancel", dialog.className) << name << first << buttonName(last) << "Cancel" << 0 << "";
        QTest::addRow("%s Escape", dialog.className) << name << first << buttonName(last) << "Escape" << 0 << "";
        QTest::addRow("%s Return", dialog.className)
            << name << first << buttonName(last) << "Return" << 1 << QString::fromUtf8(dialog.choices[last].code);
        QTest::addRow("%s Enter", dialog.className) << name << first << QString() << "Enter" << 1 << first;
        QTest::addRow("%s Close", dialog.className) << name << first << buttonName(last) << "Close" << 0 << "";
    }
    QTest::newRow("pos verb") << QStringLiteral("PartOfSpeechSelectionDlg") << "verb" << QString() << "OK" << 1
                              << "verb";
    QTest::newRow("verb past = root") << QStringLiteral("VerbSelectionDlg") << "past = root" << QString() << "OK" << 1
                                      << "past";
    QTest::newRow("UK group") << QStringLiteral("NounSelectionDlgUK") << "reg"
                              << "radioButton_7"
                              << "OK" << 1 << "group";
}

// A real modal run: the answerer picks a button, then ends the run with OK, Cancel, Escape, Return, Enter or
// the close box.
// After Cancel the caller writes nothing, so only the result is checked.
void TestSelectionDialogs::modalRun()
{
    QFETCH(QString, dialog);
    QFETCH(QString, current);
    QFETCH(QString, choose);
    QFETCH(QString, answer);
    QFETCH(int, result);
    QFETCH(QString, code);

    auto dlg = make(dialog, current);
    QSignalSpy accepted(dlg.get(), &QDialog::accepted);
    QSignalSpy rejected(dlg.get(), &QDialog::rejected);
    QString seen;
    ModalAnswerer answerer;
    answerer.handle([&](QWidget *modal) {
        seen = modal->objectName();
        if (!choose.isEmpty())
            modal->findChild<QRadioButton *>(choose)->click();
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
    });
    const int returned = dlg->exec();
    QVERIFY(answerer.answered());
    QCOMPARE(seen, dialog + QStringLiteral("Class"));
    QCOMPARE(answerer.title(), QString::fromLatin1(spec(dialog).title));
    QCOMPARE(returned, result);
    // One connection per slot: a second one would accept or reject twice.
    QCOMPARE(accepted.count(), result == QDialog::Accepted ? 1 : 0);
    QCOMPARE(rejected.count(), result == QDialog::Accepted ? 0 : 1);
    if (result == QDialog::Accepted)
        QCOMPARE(dlg->selectedCode(), code);
}

void TestSelectionDialogs::slotNames_data()
{
    QTest::addColumn<const QMetaObject *>("meta");
    QTest::addColumn<QStringList>("expected");
    const QStringList buttonBoxSlots{"on_buttonBox_accepted()", "on_buttonBox_rejected()"};
    QTest::newRow("PartOfSpeechSelectionDlg") << &PartOfSpeechSelectionDlg::staticMetaObject << buttonBoxSlots;
    QTest::newRow("NounSelectionDlg") << &NounSelectionDlg::staticMetaObject << buttonBoxSlots;
    QTest::newRow("NounSelectionDlgUK") << &NounSelectionDlgUK::staticMetaObject << buttonBoxSlots;
    QTest::newRow("NameSelectionDlg") << &NameSelectionDlg::staticMetaObject << buttonBoxSlots;
    QTest::newRow("NameSelectionDlgUK") << &NameSelectionDlgUK::staticMetaObject << buttonBoxSlots;
    QTest::newRow("VerbSelectionDlg") << &VerbSelectionDlg::staticMetaObject << buttonBoxSlots;
    QTest::newRow("AdjectiveSelectionDlg")
        << &AdjectiveSelectionDlg::staticMetaObject << QStringList{"on_radioButton_3_toggled(bool)"} + buttonBoxSlots;
    QTest::newRow("AdverbSelectionDlg") << &AdverbSelectionDlg::staticMetaObject << buttonBoxSlots;
}

// The slots each dialog adds to QDialog, in their declared order: any other slot named after a control
// would be connected by name too.
void TestSelectionDialogs::slotNames()
{
    QFETCH(const QMetaObject *, meta);
    QFETCH(QStringList, expected);
    QVERIFY(meta->inherits(&QDialog::staticMetaObject));
    QStringList names;
    for (int i = QDialog::staticMetaObject.methodCount(); i < meta->methodCount(); ++i) {
        if (meta->method(i).methodType() == QMetaMethod::Slot)
            names << QString::fromLatin1(meta->method(i).methodSignature());
    }
    QCOMPARE(names, expected);
}

// Toggling "absolute" has no side effect: the choice simply moves, and the dialog stays open.
void TestSelectionDialogs::adjectiveAbsoluteToggle()
{
    AdjectiveSelectionDlg dlg(QStringLiteral("comparative"));
    QSignalSpy finished(&dlg, &QDialog::finished);
    auto absolute = dlg.findChild<QRadioButton *>(QStringLiteral("radioButton_3"));
    absolute->click();
    QCOMPARE(dlg.selectedCode(), QStringLiteral("absolute"));
    dlg.findChild<QRadioButton *>(QStringLiteral("radioButton_5"))->click();
    QCOMPARE(dlg.selectedCode(), QStringLiteral("superlative"));
    QCOMPARE(checkedButtons(dlg, 5), QStringList{QStringLiteral("radioButton_5")});
    QCOMPARE(finished.count(), 0);
}

void TestSelectionDialogs::adverbForm()
{
    AdverbSelectionDlg dlg;
    QCOMPARE(dlg.objectName(), QStringLiteral("AdverbSelectionDlgClass"));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Adverb Selection"));
    QCOMPARE(dlg.windowType(), Qt::Window);
    QVERIFY(dlg.windowFlags().testFlag(Qt::WindowTitleHint));
    QCOMPARE(dlg.parentWidget(), nullptr);
    // At least 446 by 389, and free to grow.
    QCOMPARE(dlg.minimumSize(), QSize(446, 389));
    QCOMPARE(dlg.size(), QSize(446, 389));
    QVERIFY(dlg.maximumWidth() > 446);
    QVERIFY(dlg.maximumHeight() > 389);

    auto label = dlg.findChild<QLabel *>(QStringLiteral("label"));
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("This word is most likely to be used in these positions:"));
    auto frame = dlg.findChild<QFrame *>(QStringLiteral("frame"));
    QVERIFY(frame);
    QCOMPARE(frame->frameShape(), QFrame::Box);
    QCOMPARE(frame->frameShadow(), QFrame::Plain);
    auto buttonBox = dlg.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    QVERIFY(buttonBox);
    QCOMPARE(buttonBox->orientation(), Qt::Horizontal);
    QCOMPARE(buttonBox->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QVERIFY(buttonBox->button(QDialogButtonBox::Ok)->isDefault());
    QVERIFY(!buttonBox->button(QDialogButtonBox::Cancel)->isDefault());
    QVERIFY(label->geometry().bottom() < frame->geometry().top());
    QVERIFY(frame->geometry().bottom() < buttonBox->geometry().top());
    QVERIFY(label->width() >= label->sizeHint().width());

    QCOMPARE(dlg.findChildren<QCheckBox *>().size(), 8);
    int previousBottom = -1;
    for (const AdverbBox &box : adverbBoxes) {
        auto checkBox = dlg.findChild<QCheckBox *>(QLatin1String(box.name));
        QVERIFY2(checkBox, box.name);
        QCOMPARE(checkBox->text(), QString::fromUtf8(box.label));
        QVERIFY(!checkBox->isChecked());
        QCOMPARE(checkBox->parentWidget(), frame);
        QVERIFY2(checkBox->y() > previousBottom, box.name);
        QVERIFY2(frame->contentsRect().contains(checkBox->geometry()), box.name);
        QVERIFY2(checkBox->width() >= checkBox->sizeHint().width(), box.name);
        previousBottom = checkBox->geometry().bottom();
    }
}

void TestSelectionDialogs::adverbModalRun_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("toggle");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("after");

    const QStringList some{"checkBox_2", "checkBox_8"};
    QTest::newRow("OK unchanged") << some << QStringList() << "OK" << 1 << some;
    QTest::newRow("OK toggled") << some << QStringList{"checkBox_8", "checkBox_1"} << "OK" << 1
                                << QStringList{"checkBox_1", "checkBox_2"};
    QTest::newRow("OK none") << some << some << "OK" << 1 << QStringList();
    QTest::newRow("Cancel") << some << QStringList{"checkBox_5"} << "Cancel" << 0 << QStringList();
    QTest::newRow("Escape") << QStringList() << QStringList{"checkBox_5"} << "Escape" << 0 << QStringList();
    QTest::newRow("Return") << QStringList() << QStringList{"checkBox_7"} << "Return" << 1 << QStringList{"checkBox_7"};
    QTest::newRow("Enter") << some << QStringList{"checkBox_3"} << "Enter" << 1
                           << QStringList{"checkBox_2", "checkBox_3", "checkBox_8"};
}

// The boxes keep what the user set during the run; the result tells the caller whether to read them.
void TestSelectionDialogs::adverbModalRun()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, toggle);
    QFETCH(QString, answer);
    QFETCH(int, result);
    QFETCH(QStringList, after);

    AdverbSelectionDlg dlg;
    for (const QString &name : before)
        dlg.findChild<QCheckBox *>(name)->setChecked(true);
    QSignalSpy accepted(&dlg, &QDialog::accepted);
    QSignalSpy rejected(&dlg, &QDialog::rejected);
    ModalAnswerer answerer;
    answerer.handle([&](QWidget *modal) {
        for (const QString &name : toggle)
            modal->findChild<QCheckBox *>(name)->click();
        auto buttonBox = modal->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
        if (answer == QLatin1String("OK"))
            buttonBox->button(QDialogButtonBox::Ok)->click();
        else if (answer == QLatin1String("Cancel"))
            buttonBox->button(QDialogButtonBox::Cancel)->click();
        else if (answer == QLatin1String("Escape"))
            QTest::keyClick(modal, Qt::Key_Escape);
        else if (answer == QLatin1String("Enter"))
            QTest::keyClick(modal, Qt::Key_Enter, Qt::KeypadModifier);
        else
            QTest::keyClick(modal, Qt::Key_Return);
    });
    QCOMPARE(dlg.exec(), result);
    QVERIFY(answerer.answered());
    QCOMPARE(answerer.title(), QStringLiteral("Adverb Selection"));
    // Ok and Cancel end the run exactly once each way: one connection per slot.
    QCOMPARE(accepted.count(), result == QDialog::Accepted ? 1 : 0);
    QCOMPARE(rejected.count(), result == QDialog::Accepted ? 0 : 1);
    if (result == QDialog::Accepted) {
        QStringList checked;
        for (const AdverbBox &box : adverbBoxes) {
            if (dlg.findChild<QCheckBox *>(QLatin1String(box.name))->isChecked())
                checked << QLatin1String(box.name);
        }
        QCOMPARE(checked, after);
    }
}

QTEST_MAIN(TestSelectionDialogs)
#include "tst_selectiondialogs.moc"

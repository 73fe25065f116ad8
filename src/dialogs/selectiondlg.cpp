#include "selectiondlg.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QPushButton>
#include <cstddef>

#include "ui_selectiondlg.h"

namespace {

// The usage tables. A row is "code%label", "code: example" (the whole row is shown) or a bare word;
// blanks inside a row are part of it, so the examples of the adjective table line up.

const char *const verbPatternRows[] = {
    "I: She sleeps",
    "ILoc:  He lives in the city.",
    "Idest: He goes to school.",
    "Ipr: They complain about it.",
    "Ipg: I dream of doing that.",
    "Tn: She likes strawberries.",
    "TnLoc: He put it there.",
    "TnDest: He sent it to school.",
    "Tnpr: He thanked them for it.",
    "Tf: She thinks that it is so.",
    "Tw: We wonder how it is.",
    "Tt: I like to do it.",
    "Tnt: I like him to do it.",
    "Tg: I like doing it.",
    "Tsg: We like his doing it.",
    "Tng: We like him doing it.",
    "Tni: We watched him do it.",
    "Tned: We got it done.",
    "Lv: He helps do it.",
    "La: They seem happy.",
    "Ln: He became a teacher.",
    "Lln: He looks like a dog.",
    "Cna: We made him mad.",
    "Cnn: We made him president.",
    "Cnas: I accept it as truth.",
    "Dnn: We gave him a book.",
    "Dnpr: We gave a book to him.",
    "Dnf: I told you that it is.",
    "Dnw: I asked him what to do.",
    "Phrasal verb: We called him up.",
    "Non Phrasal Verb: We called him.",
};

const char *const adjectiveComplementRows[] = {
    "no-prep: He is Angry.",
    "about:  He is angry about it.",
    "around: He is shy around you.",
    "at:     He is good at it.",
    "for:    He is happy for them.",
    "from:   He is free from it.",
    "in:     He is interested in it.",
    "of:     He is fond of it.",
    "on:     He is dependent on it.",
    "to:     He is close to it.",
    "with:   He is happy with it.",
    "wh1:    ..unclear what to do.",
    "wh2:    ..unsure of what to do.",
    "wh3:    ..puzzled about what...",
    "to1:    He is nice to do it. (subj)",
    "to2:    Horses are hard to ride. (obj)",
    "to3:    It is nice of you to do it.",
    "to4:    It is important for you to go.",
    "to5:    It was fun to do it.",
    "ing6:   It was fun doing it.",
    "t1:     It is true that he did it.",
    "t2:     He is sure that he did it.",
    "ing:    He is busy writing things.",
    "than:  It is different than it was.",
};

const char *const nounComplementRows[] = {
    "default%DEFAULT",
    "Q1%cup OF milk, marbles (part.)",
    "Q2%group OF students (part.)",
    "Q3%piece OF cheese (part.)",
    "full%room FULL OF chairs",
    "in%chair IN LOCATION",
    "T1%the meeting ON MONDAY",
    "T2%my goal FOR FIVE YEARS",
    "T3%our reunion EVERY YEAR",
    "on%book ON, ABOUT biology",
    "of%student OF biology",
    "of1%house MADE OF, OF bricks",
    "with%house WITH big windows",
    "on1%windows ON, IN house",
    "of2%friend of MINE, OF JOHN",
    "to%friend TO ME, TO JOHN",
    "WH%question WHAT TO DO",
    "WH3%reason WHY HE DID IT",
    "for%medicine FOR a cold",
    "to1%trip TO DESTINATION",
    "with1%pie WITH ice cream",
    "by%notification BY letter",
    "at%alarm AT something",
    "against%complaint AGAINST something",
    "about%complaint ABOUT something",
    "that%certainty THAT HE DID IT",
    "toV%person, reason TO DO IT",
    "WH1%curiousity ABOUT WHAT TO DO",
    "WH2%question OF WHAT TO DO",
    "forV%reason FOR DOING IT",
    "inV%diligence IN DOING IT",
};

// clang-format off
const char *const particleRows[] = {
    "aback", "about", "above", "across", "after", "ahead", "along", "apart",
    "around", "aside", "astray", "away", "back", "by", "down", "forth",
    "forward", "home", "in front", "in", "off", "on", "on top", "out",
    "over", "past", "round", "together", "through", "under", "up",
};

const char *const prepositionRows[] = {
    "about", "across", "after", "against", "along", "among", "around", "at",
    "by", "down", "for", "from", "in", "into", "like", "of",
    "off", "on", "onto", "out", "out of", "over", "past", "round",
    "to", "towards", "through", "under", "upon", "with",
};
// clang-format on

template<std::size_t N> QStringList rows(const char *const (&table)[N])
{
    QStringList list;
    list.reserve(int(N));
    for (const char *row : table)
        list += QString::fromLatin1(row);
    return list;
}

// Replaces, in every element, each occurrence of from by to.
void replaceInEach(QStringList *codes, const QString &from, const QString &to)
{
    for (QString &code : *codes)
        code.replace(from, to);
}

void uncheckAll(QDialogButtonBox *box)
{
    const QList<QAbstractButton *> buttons = box->buttons();
    for (QAbstractButton *button : buttons)
        button->setChecked(false);
}

} // namespace

SelectionDlg::SelectionDlg(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::SelectionDlgClass>())
{
    ui->setupUi(this);
    ui->OKButton->setDefault(true);
}

SelectionDlg::~SelectionDlg() = default;

bool SelectionDlg::choose(const QString &title, const QStringList &items, QStringList *selected)
{
    setWindowTitle(title);
    const int count = int(items.size());
    const int half = count / 2;
    QStringList labels;
    QStringList codes;
    splitItems(items, &labels, &codes);

    // Row i is box i: the first half in the left column, the rest in the right one.
    QList<QCheckBox *> boxes;
    for (int i = 0; i < count; ++i) {
        QDialogButtonBox *column = i < half ? ui->buttonBox : ui->buttonBox_2;
        auto *box = new QCheckBox(labels.at(i), column);
        box->setChecked(selected && selected->contains(codes.at(i)));
        column->addButton(box, QDialogButtonBox::ApplyRole);
        boxes += box;
    }

    if (exec() != QDialog::Accepted)
        return false;
    if (selected) {
        selected->clear();
        for (int i = 0; i < count; ++i) {
            if (boxes.at(i)->isChecked())
                *selected += codes.at(i);
        }
    }
    return true;
}

void SelectionDlg::splitItems(const QStringList &items, QStringList *labels, QStringList *codes)
{
    labels->clear();
    codes->clear();
    for (QString row : items) {
        row.replace(QLatin1String("no-prep"), QLatin1String("-"));
        const int percent = int(row.indexOf(QLatin1Char('%')));
        const int colon = int(row.indexOf(QLatin1Char(':')));
        if (percent >= 0) {
            *codes += row.left(percent);
            *labels += row.section(QLatin1Char('%'), 1, 1);
        } else if (colon >= 0) {
            *codes += row.left(colon);
            *labels += row;
        } else {
            *codes += row;
            *labels += row;
        }
    }
}

QStringList SelectionDlg::verbPatternItems()
{
    return rows(verbPatternRows);
}

QStringList SelectionDlg::nounComplementItems()
{
    return rows(nounComplementRows);
}

QStringList SelectionDlg::adjectiveComplementItems()
{
    return rows(adjectiveComplementRows);
}

QStringList SelectionDlg::particleItems()
{
    return rows(particleRows);
}

QStringList SelectionDlg::prepositionItems()
{
    return rows(prepositionRows);
}

void SelectionDlg::verbToTableCodes(QStringList *codes)
{
    // "phrasal" is replaced inside "nonphrasal" too, so such an element then matches no row.
    if (codes->contains(QLatin1String("phrasal"))) {
        replaceInEach(codes, QStringLiteral("Ip:"), QStringLiteral("I:"));
        replaceInEach(codes, QStringLiteral("Tnp:"), QStringLiteral("Tn:"));
        replaceInEach(codes, QStringLiteral("Tnppr:"), QStringLiteral("Tnpr:"));
        replaceInEach(codes, QStringLiteral("phrasal"), QStringLiteral("Phrasal verb"));
    }
    if (codes->contains(QLatin1String("nonphrasal")))
        replaceInEach(codes, QStringLiteral("nonphrasal"), QStringLiteral("Non Phrasal Verb"));
}

void SelectionDlg::verbToEngineCodes(QStringList *codes)
{
    if (codes->contains(QLatin1String("Phrasal verb")))
        replaceInEach(codes, QStringLiteral("Phrasal verb"), QStringLiteral("phrasal"));
    if (codes->contains(QLatin1String("Non Phrasal Verb")))
        replaceInEach(codes, QStringLiteral("Non Phrasal Verb"), QStringLiteral("nonphrasal"));
}

void SelectionDlg::nounToTableCodes(QStringList *) {}

void SelectionDlg::nounToEngineCodes(QStringList *) {}

void SelectionDlg::on_clearButton_clicked()
{
    uncheckAll(ui->buttonBox);
    uncheckAll(ui->buttonBox_2);
}

void SelectionDlg::on_cancelButton_clicked()
{
    reject();
}

void SelectionDlg::on_OKButton_clicked()
{
    accept();
}

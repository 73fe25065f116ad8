#include "subcodetable.h"

namespace {

// Codes are stored exactly as written here, blanks and case included; labels are what the menus show.
const QList<SubcodeTable::Entry> table = {
    // noun
    {"noun", "reg", "Regular", false, 1, 1},
    {"noun", "usually plural", "Usually plural", false, 0, 0},
    {"noun", "singular only", "Singular only", false, 2, 2},
    {"noun", "plural only", "Plural only", false, 3, 3},
    {"noun", "plural unchanged", "Plural unchanged", false, 4, 4},
    {"noun", "group", "Group", false, 0, 7},
    {"noun", "uncount", "Uncount", true, 5, 5},
    {"noun", "uncount or count", "Uncount or count", false, 6, 6},
    {"noun", "U or C, usu.pl", "U or C, usu.pl", false, 0, 0},
    {"noun", "U or singular", "U or singular", false, 0, 0},
    {"noun", "U or plural count", "U or plural count", false, 0, 0},
    {"noun", "U or C, pl. unchgd", "U or C, pl. unchgd", false, 0, 0},
    {"noun", "uncount plural", "Uncount plural", false, 0, 0},
    {"noun", "singular with 'the'", "Singular with 'the'", true, 0, 0},
    {"noun", "plural with 'the'", "Plural with 'the'", false, 0, 0},
    {"noun", "Latin plural", "Latin plural", true, 0, 0},
    {"noun", "U or C, Latin pl.", "U or C, Latin pl.", false, 0, 0},
    {"noun", "man, men, etc..", "Man, men, etc..", false, 0, 0},
    {"noun", "pl unchngd or +s", "Pl unchngd or +s", true, 0, 0},
    {"noun", "plural = '~zzes'", "Plural = '~zzes'", false, 0, 0},
    {"noun", "pl. only: add 's' ", "Pl. only: add 's'", false, 0, 0},
    {"noun", "reg Time", "Reg Time", true, 0, 0},
    {"noun", "reg Place", "Reg Place", false, 0, 0},
    // name
    {"name", "Singular name", "Singular name", false, 1, 1},
    {"name", "Singular with 'the'", "Singular with 'the'", false, 2, 2},
    {"name", "Plural name", "Plural name", false, 3, 3},
    {"name", "Plural with 'the'", "Plural with 'the'", false, 4, 4},
    {"name", "First Name", "First name", true, 5, 5},
    {"name", "Last Name", "Last name", false, 6, 6},
    {"name", "Time, Event", "Time, Event", true, 7, 7},
    {"name", "Time with 'the'", "Time with 'the'", false, 8, 8},
    {"name", "Location", "Location", true, 9, 9},
    {"name", "Loc sing with 'the'", "Loc sing with 'the'", false, 10, 10},
    {"name", "Loc pl with 'the'", "Loc pl with 'the'", false, 11, 11},
    {"name", "City, etc", "City, etc", false, 0, 12},
    // verb
    {"verb", "reg", "reg", false, 1, 1},
    {"verb", "irreg p & pp", "irreg p && pp", false, 2, 2},
    {"verb", "p & pp = root", "p && pp = root", false, 3, 3},
    {"verb", "past = root", "past = root", false, 0, 0},
    {"verb", "pp = root", "pp = root", false, 0, 0},
    {"verb", "reg, dbl", "reg, dbl", true, 4, 4},
    {"verb", "irreg p&pp,dbl", "irreg p && pp, dbl", false, 5, 5},
    {"verb", "p&pp=root,dbl", "p && pp=root, dbl", false, 6, 6},
    {"verb", "past=root,dbl", "past = root, dbl", false, 0, 0},
    {"verb", "pp = root, dbl", "pp = root, dbl", false, 0, 0},
    {"verb", "root", "root", true, 0, 0},
    {"verb", "+s", "+s", false, 0, 0},
    {"verb", "+ing", "+ing", false, 0, 0},
    {"verb", "+ed (p & pp)", "+ed (p && pp)", false, 7, 7},
    {"verb", "past", "past", false, 8, 8},
    {"verb", "past participle", "past participle", false, 9, 9},
    {"verb", "passive only", "passive only", false, 0, 0},
    {"verb", "infinitive", "infinitive", false, 0, 0},
    {"verb", "p & pp, not passive", "p && pp, not passive", false, 0, 0},
    // adj.
    {"adj.", "reg", "reg", false, 1, 1},
    {"adj.", "reg, dbl", "reg, dbl", false, 2, 2},
    {"adj.", "absolute", "absolute", false, 3, 3},
    {"adj.", "comparative", "comparative", false, 4, 4},
    {"adj.", "superlative", "superlative", false, 5, 5},
    {"adj.", "attrib only", "attrib only", true, 0, 0},
    {"adj.", "pred only", "pred only", false, 0, 0},
    {"adj.", "nongradable", "nongradable", true, 0, 0},
    {"adj.", "nongrad attrib", "nongrad attrib", false, 0, 0},
    {"adj.", "nongrad pred", "nongrad pred", false, 0, 0},
    {"adj.", "verb 'ED'", "verb 'ED'", true, 0, 0},
    {"adj.", "verb 'ING'", "verb 'ING'", false, 0, 0},
    {"adj.", "absolute2", "absolute2", true, 0, 0},
    // time words
    {"time", "age", "age", false, 0, 0},
    {"time", "after", "after", false, 0, 0},
    {"time", "before", "before", false, 0, 0},
    {"time", "day", "day", false, 0, 0},
    {"time", "during", "during", false, 0, 0},
    {"time", "coming", "coming", false, 0, 0},
    {"time", "earlier", "earlier", false, 0, 0},
    {"time", "following", "following", false, 0, 0},
    {"time", "immediately", "immediately", false, 0, 0},
    {"time", "last", "last", false, 0, 0},
    {"time", "late,early", "late,early", false, 0, 0},
    {"time", "later", "later", false, 0, 0},
    {"time", "long", "long", false, 0, 0},
    {"time", "longer", "longer", false, 0, 0},
    {"time", "morning,afternoon", "morning,afternoon", false, 0, 0},
    {"time", "next", "next", false, 0, 0},
    {"time", "night", "night", false, 0, 0},
    {"time", "new", "new", false, 0, 0},
    {"time", "often", "often", false, 0, 0},
    {"time", "since", "since", false, 0, 0},
    {"time", "soon", "soon", false, 0, 0},
    {"time", "September", "September", false, 0, 0},
    {"time", "then", "then", false, 0, 0},
    {"time", "time", "time", false, 0, 0},
    {"time", "times", "times", false, 0, 0},
    {"time", "today", "today", false, 0, 0},
    {"time", "until", "until", false, 0, 0},
    {"time", "yesterday,tomorrow", "yesterday,tomorrow", false, 0, 0},
    {"time", "week,month", "week,month", false, 0, 0},
    {"time", "when,whenever", "when,whenever", false, 0, 0},
};

} // namespace

const QList<SubcodeTable::Entry> &SubcodeTable::entries()
{
    return table;
}

QStringList SubcodeTable::codes(const QString &partOfSpeech)
{
    QStringList codes;
    for (const Entry &entry : table) {
        if (partOfSpeech == QLatin1String(entry.partOfSpeech))
            codes << QString::fromUtf8(entry.code);
    }
    return codes;
}

QStringList SubcodeTable::dialogCodes(const QString &partOfSpeech, bool ukGrammar)
{
    QStringList codes;
    for (const Entry &entry : table) {
        const int row = ukGrammar ? entry.ukDialogRow : entry.dialogRow;
        if (partOfSpeech != QLatin1String(entry.partOfSpeech) || row == 0)
            continue;
        if (codes.size() < row)
            codes.resize(row);
        codes[row - 1] = QString::fromUtf8(entry.code);
    }
    return codes;
}

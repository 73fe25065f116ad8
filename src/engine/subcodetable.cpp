#include "subcodetable.h"

namespace {

// Codes are stored exactly as written here, blanks and case included; labels are what the menus show.
const QList<SubcodeTable::Entry> table = {
    // noun
    {"noun", "reg", "Regular", false, 1, false},
    {"noun", "usually plural", "Usually plural", false, 0, false},
    {"noun", "singular only", "Singular only", false, 2, false},
    {"noun", "plural only", "Plural only", false, 3, false},
    {"noun", "plural unchanged", "Plural unchanged", false, 4, false},
    {"noun", "group", "Group", false, 7, true},
    {"noun", "uncount", "Uncount", true, 5, false},
    {"noun", "uncount or count", "Uncount or count", false, 6, false},
    {"noun", "U or C, usu.pl", "U or C, usu.pl", false, 0, false},
    {"noun", "U or singular", "U or singular", false, 0, false},
    {"noun", "U or plural count", "U or plural count", false, 0, false},
    {"noun", "U or C, pl. unchgd", "U or C, pl. unchgd", false, 0, false},
    {"noun", "uncount plural", "Uncount plural", false, 0, false},
    {"noun", "singular with 'the'", "Singular with 'the'", true, 0, false},
    {"noun", "plural with 'the'", "Plural with 'the'", false, 0, false},
    {"noun", "Latin plural", "Latin plural", true, 0, false},
    {"noun", "U or C, Latin pl.", "U or C, Latin pl.", false, 0, false},
    {"noun", "man, men, etc..", "Man, men, etc..", false, 0, false},
    {"noun", "pl unchngd or +s", "Pl unchngd or +s", true, 0, false},
    {"noun", "plural = '~zzes'", "Plural = '~zzes'", false, 0, false},
    {"noun", "pl. only: add 's' ", "Pl. only: add 's'", false, 0, false},
    {"noun", "reg Time", "Reg Time", true, 0, false},
    {"noun", "reg Place", "Reg Place", false, 0, false},
    // name
    {"name", "Singular name", "Singular name", false, 1, false},
    {"name", "Singular with 'the'", "Singular with 'the'", false, 2, false},
    {"name", "Plural name", "Plural name", false, 3, false},
    {"name", "Plural with 'the'", "Plural with 'the'", false, 4, false},
    {"name", "First Name", "First name", true, 5, false},
    {"name", "Last Name", "Last name", false, 6, false},
    {"name", "Time, Event", "Time, Event", true, 7, false},
    {"name", "Time with 'the'", "Time with 'the'", false, 8, false},
    {"name", "Location", "Location", true, 9, false},
    {"name", "Loc sing with 'the'", "Loc sing with 'the'", false, 10, false},
    {"name", "Loc pl with 'the'", "Loc pl with 'the'", false, 11, false},
    {"name", "City, etc", "City, etc", false, 12, true},
    // verb
    {"verb", "reg", "reg", false, 1, false},
    {"verb", "irreg p & pp", "irreg p && pp", false, 2, false},
    {"verb", "p & pp = root", "p && pp = root", false, 3, false},
    {"verb", "past = root", "past = root", false, 0, false},
    {"verb", "pp = root", "pp = root", false, 0, false},
    {"verb", "reg, dbl", "reg, dbl", true, 4, false},
    {"verb", "irreg p&pp,dbl", "irreg p && pp, dbl", false, 5, false},
    {"verb", "p&pp=root,dbl", "p && pp=root, dbl", false, 6, false},
    {"verb", "past=root,dbl", "past = root, dbl", false, 0, false},
    {"verb", "pp = root, dbl", "pp = root, dbl", false, 0, false},
    {"verb", "root", "root", true, 0, false},
    {"verb", "+s", "+s", false, 0, false},
    {"verb", "+ing", "+ing", false, 0, false},
    {"verb", "+ed (p & pp)", "+ed (p && pp)", false, 7, false},
    {"verb", "past", "past", false, 8, false},
    {"verb", "past participle", "past participle", false, 9, false},
    {"verb", "passive only", "passive only", false, 0, false},
    {"verb", "infinitive", "infinitive", false, 0, false},
    {"verb", "p & pp, not passive", "p && pp, not passive", false, 0, false},
    // adj.
    {"adj.", "reg", "reg", false, 1, false},
    {"adj.", "reg, dbl", "reg, dbl", false, 2, false},
    {"adj.", "absolute", "absolute", false, 3, false},
    {"adj.", "comparative", "comparative", false, 4, false},
    {"adj.", "superlative", "superlative", false, 5, false},
    {"adj.", "attrib only", "attrib only", true, 0, false},
    {"adj.", "pred only", "pred only", false, 0, false},
    {"adj.", "nongradable", "nongradable", true, 0, false},
    {"adj.", "nongrad attrib", "nongrad attrib", false, 0, false},
    {"adj.", "nongrad pred", "nongrad pred", false, 0, false},
    {"adj.", "verb 'ED'", "verb 'ED'", true, 0, false},
    {"adj.", "verb 'ING'", "verb 'ING'", false, 0, false},
    {"adj.", "absolute2", "absolute2", true, 0, false},
    // time words
    {"time", "age", "age", false, 0, false},
    {"time", "after", "after", false, 0, false},
    {"time", "before", "before", false, 0, false},
    {"time", "day", "day", false, 0, false},
    {"time", "during", "during", false, 0, false},
    {"time", "coming", "coming", false, 0, false},
    {"time", "earlier", "earlier", false, 0, false},
    {"time", "following", "following", false, 0, false},
    {"time", "immediately", "immediately", false, 0, false},
    {"time", "last", "last", false, 0, false},
    {"time", "late,early", "late,early", false, 0, false},
    {"time", "later", "later", false, 0, false},
    {"time", "long", "long", false, 0, false},
    {"time", "longer", "longer", false, 0, false},
    {"time", "morning,afternoon", "morning,afternoon", false, 0, false},
    {"time", "next", "next", false, 0, false},
    {"time", "night", "night", false, 0, false},
    {"time", "new", "new", false, 0, false},
    {"time", "often", "often", false, 0, false},
    {"time", "since", "since", false, 0, false},
    {"time", "soon", "soon", false, 0, false},
    {"time", "September", "September", false, 0, false},
    {"time", "then", "then", false, 0, false},
    {"time", "time", "time", false, 0, false},
    {"time", "times", "times", false, 0, false},
    {"time", "today", "today", false, 0, false},
    {"time", "until", "until", false, 0, false},
    {"time", "yesterday,tomorrow", "yesterday,tomorrow", false, 0, false},
    {"time", "week,month", "week,month", false, 0, false},
    {"time", "when,whenever", "when,whenever", false, 0, false},
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
        if (partOfSpeech != QLatin1String(entry.partOfSpeech) || entry.dialogRow == 0 || (entry.ukOnly && !ukGrammar))
            continue;
        if (codes.size() < entry.dialogRow)
            codes.resize(entry.dialogRow);
        codes[entry.dialogRow - 1] = QString::fromUtf8(entry.code);
    }
    return codes;
}

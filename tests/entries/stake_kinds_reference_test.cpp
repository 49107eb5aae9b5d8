// The kinds of a line are recognised on views of its text and on the stored bytes, without
// building strings. These tests hold the string-building definition the programs used
// before and check that both give the same kinds over many lines: the catalogue, its
// lines edited character by character with the characters the rules look for, zero and
// Windows-1252 bytes, and texts with blanks around them.
#include "entries/stake_catalogue.h"

#include "common/text.h"

#include <QList>

#include <gtest/gtest.h>

#include <random>

using namespace vt;

namespace {

// How a rule looks at a line: the stored code whole (the grid: the trimmed text's end),
// the code's end (both), the label's start, the trimmed label whole.
enum class Test { Code, Ending, Start, Label };

struct Rule {
    Test test;
    const char* text; // UTF-8
    StakeKind kind;
};

const Rule rules[] = {
    {Test::Code, "jeu", StakeKind::GameTotal},          {Test::Code, "frai", StakeKind::FeesCode},
    {Test::Code, "resu", StakeKind::ResultCode},        {Test::Code, "s/to", StakeKind::SubTotal},
    {Test::Code, "dedu", StakeKind::Deduction},         {Test::Code, "bagu", StakeKind::RingsCode},
    {Test::Code, "tele", StakeKind::TelephoneCode},     {Test::Code, "s/td", StakeKind::DeductionTotal},
    {Test::Code, "t/ge", StakeKind::GrandTotal},        {Test::Code, "2/3", StakeKind::SeriesTwoThree},
    {Test::Code, "3/3", StakeKind::SeriesThreeThree},   {Test::Code, "2/2", StakeKind::SeriesTwoTwo},
    {Test::Code, "4/6", StakeKind::SeriesFourSix},      {Test::Code, "3/5", StakeKind::SeriesThreeFive},
    {Test::Ending, "ixt", StakeKind::Mixt},             {Test::Ending, "rem", StakeKind::Prem},
    {Test::Ending, ".1", StakeKind::DotOne},            {Test::Ending, ".2", StakeKind::DotTwo},
    {Test::Ending, "i.2", StakeKind::RiTwo},            {Test::Ending, ".O.", StakeKind::ObligatoryPart},
    {Test::Start, "FRAIS", StakeKind::Fees},            {Test::Start, "GRATU", StakeKind::Free},
    {Test::Start, "Bague", StakeKind::Rings},           {Test::Start, "télép", StakeKind::Telephone},
    {Test::Start, "Résultat", StakeKind::Result},       {Test::Label, "Sér. 2/3", StakeKind::SerTwoThree},
    {Test::Label, "Sér. 3/5", StakeKind::SerThreeFive}, {Test::Label, "Sér. 3/3", StakeKind::SeriesThreeThree},
};

bool refBelge(const QString& s) { return upperCase(Left(s, 5)) == QStringLiteral("BELGE"); }

StakeKinds refPoolKinds(const QString& code5) {
    StakeKinds k = StakeKind::Poule;
    if (trim(code5).startsWith(QStringLiteral("AS")))
        k |= StakeKind::PouleAs;
    if (code5.size() >= 3 && code5.at(2) == u'S')
        k |= StakeKind::MarkedPoule;
    return k;
}

// The former grid tests, on strings built from the text.
StakeKinds refTextKinds(const QString& text) {
    const QString lab = trim(text);
    const QString head = trim(Left(lab, static_cast<int>(lab.size()) - 4));
    StakeKinds k;
    if (refBelge(text) || refBelge(lab))
        k |= StakeKind::Belge;
    for (const Rule& rule : rules) {
        const QString t = QString::fromUtf8(rule.text);
        const bool hit = rule.test == Test::Start ? text.startsWith(t)
                         : rule.test == Test::Label ? head == t
                                                    : lab.endsWith(t);
        if (hit)
            k |= rule.kind;
    }
    if (trim(Left(lab, 7)) == QStringLiteral("Poule"))
        k |= refPoolKinds(lineCode(text));
    return k;
}

// The former record tests, on strings built from the fields.
StakeKinds refRecordKinds(const QString& label8, const QString& code5) {
    const QString code = trim(code5), label = trim(label8);
    StakeKinds k;
    if (refBelge(label8))
        k |= StakeKind::Belge;
    for (const Rule& rule : rules) {
        const QString t = QString::fromUtf8(rule.text);
        const bool hit = rule.test == Test::Code     ? code == t
                         : rule.test == Test::Ending ? code.endsWith(t)
                         : rule.test == Test::Start  ? label8.startsWith(t)
                                                     : label == t;
        if (hit)
            k |= rule.kind;
    }
    if (label == QStringLiteral("Poule"))
        k |= refPoolKinds(code5);
    return k;
}

// Stored lines: each catalogue line, then copies with one to four bytes replaced by bytes
// the rules care about (and some they must not confuse with them).
QList<StakeTypeRecord> editedRecords() {
    const QByteArray alphabet = QByteArray("  BbEeLlGgPouleASs.123/46ixtremOjfaRsdTgU") +
                                QByteArray("\0\xe9\xc9\x80\x81\x8a\x9a\x9f\xe0\xff", 10);
    QList<StakeTypeRecord> out;
    std::mt19937 random(20261211);
    for (int n = 1; n <= StakeCatalogue::Count; ++n) {
        const QByteArray base = StakeCatalogue::record(n).bytes();
        out.append(StakeTypeRecord(base));
        for (int copy = 0; copy < 300; ++copy) {
            QByteArray bytes = base;
            const int edits = 1 + int(random() % 4);
            for (int e = 0; e < edits; ++e)
                bytes[int(random() % 13)] = alphabet[int(random() % alphabet.size())];
            out.append(StakeTypeRecord(bytes));
        }
    }
    return out;
}

} // namespace

TEST(StakeKindsReference, StoredLinesGiveTheKindsOfTheirDecodedFields) {
    for (const StakeTypeRecord& r : editedRecords()) {
        const StakeKinds expected = refRecordKinds(r.stakeLabel(), r.stakeCode());
        ASSERT_EQ(kindNames(recordKinds(r)), kindNames(expected)) << r.bytes().toHex(' ').constData();
        ASSERT_EQ(kindNames(recordKinds(r.stakeLabel(), r.stakeCode())), kindNames(expected));
    }
}

TEST(StakeKindsReference, GridTextsGiveTheKindsOfTheFormerTests) {
    for (const StakeTypeRecord& r : editedRecords()) {
        const QString shown = lineText(r), loaded = loadedLineText(r);
        for (const QString& text :
             {shown, loaded, trim(shown), QStringLiteral("  ") + shown, shown + QStringLiteral("  "),
              shown.left(3), shown.left(7), shown.right(4), trim(shown.left(8)), QString()}) {
            ASSERT_EQ(kindNames(textKinds(text)), kindNames(refTextKinds(text)))
                << qPrintable(text);
        }
    }
}

TEST(StakeKindsReference, FieldsOfAnyLengthGiveTheFormerKinds) {
    const char* const labels[] = {"", "Poule", "  Poule  ", "belgexx", "BELG", "Résultat",
                                  "Résultats", "Sér. 2/3", " Sér. 3/5 ", "FRAIS", "télép"};
    const char* const codes[] = {"", "AS", " AS", "xxS", "xxSyy", "jeu", " jeu ", "i.2", ".O.",
                                 "Mixt", "s/to", "3/3", "AS.1"};
    for (const char* l : labels)
        for (const char* c : codes) {
            const QString label = QString::fromUtf8(l), code = QString::fromUtf8(c);
            EXPECT_EQ(kindNames(recordKinds(label, code)), kindNames(refRecordKinds(label, code)))
                << l << " / " << c;
        }
}

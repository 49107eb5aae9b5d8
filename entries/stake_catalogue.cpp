#include "entries/stake_catalogue.h"

#include "common/errors.h"
#include "common/text.h"

#include <QStringList>

namespace vt {

const std::array<QString, StakeCatalogue::Count>& StakeCatalogue::texts() {
    // Spacing is exact: label 8 then code 5; "Poule" alone is priced by the editor.
    static const std::array<QString, Count> lines = {
        QStringLiteral("BELGE    Mise"), QStringLiteral("Pot       pot"),
        QStringLiteral("Spécial  Sp12"), QStringLiteral("Belles   Bell"),
        QStringLiteral("Hourraie hour"), QStringLiteral("Lingots  Ling"),
        QStringLiteral("Mise     Mise"), QStringLiteral("Mise 1   Mis1"),
        QStringLiteral("Mise 2   Mis2"), QStringLiteral("Mise 3   Mis3"),
        QStringLiteral("Obligat  Obli"), QStringLiteral("Mise+Obl M.O."),
        QStringLiteral("Honn+Obl H.O."), QStringLiteral("Honneur  Hon."),
        QStringLiteral("Quarté   Quar"), QStringLiteral("Unique   Uniq"),
        QStringLiteral("Unique   Un.1"), QStringLiteral("Richome  Rich"),
        QStringLiteral("Richome  Ri.2"), QStringLiteral("Poule"),
        QStringLiteral("Poule    AS  "), QStringLiteral("Poule    AS.1"),
        QStringLiteral("Poule    PSPE"), QStringLiteral("P.Double Doub"),
        QStringLiteral("Trio     Trio"), QStringLiteral("Spéciale Sp20"),
        QStringLiteral("Spéciale Sp30"), QStringLiteral("Spéciale Sp50"),
        QStringLiteral("Série     2/T"), QStringLiteral("Série     N/D"),
        QStringLiteral("Série     2/2"), QStringLiteral("Série     2/3"),
        QStringLiteral("Série     2/4"), QStringLiteral("Série     3/3"),
        QStringLiteral("Série     3/5"), QStringLiteral("Série     4/6"),
        QStringLiteral("Série    Mixt"), QStringLiteral("Série   Objet"),
        QStringLiteral("Sér. 2/3 Obj."), QStringLiteral("Sér. 2/3 Sér."),
        QStringLiteral("Sér. 3/5 Obj."), QStringLiteral("Premier  Insc"),
        QStringLiteral("Premier  Prem"), QStringLiteral("TOTAL du jeu "),
        QStringLiteral("FRAIS    frai"), QStringLiteral("GRATUITS grat"),
        QStringLiteral("Résultat resu"), QStringLiteral("Feuille  feui"),
        QStringLiteral("Constat. cons"), QStringLiteral("S/total  s/to"),
        QStringLiteral("    % à  dedu"), QStringLiteral("Bagues   bagu"),
        QStringLiteral("téléph.  tele"), QStringLiteral("Total    s/td"),
        QStringLiteral("Chal 3p  ch3p"), QStringLiteral("Chal 1p  ch1p"),
        QStringLiteral("TOTAL    t/ge"), QStringLiteral("Challeng Chal"),
    };
    return lines;
}

QString StakeCatalogue::text(int number) {
    if (number < 1 || number > Count)
        throw Error(QStringLiteral("Ligne %1 hors du catalogue des enjeux (1 à %2).")
                        .arg(number)
                        .arg(Count));
    return texts()[static_cast<size_t>(number - 1)];
}

StakeTypeRecord StakeCatalogue::record(int number) {
    return stakeRecord(text(number), 0, 0.0f);
}

QString lineLabel(const QString& lineText) { return padRight(Left(lineText, 8), 8); }

QString lineCode(const QString& lineText) { return Right(lineText, 5); }

QString lineText(const StakeTypeRecord& r) { return r.stakeLabel() + r.stakeCode(); }

QString loadedLineText(const StakeTypeRecord& r) {
    return r.stakeLabel() + u' ' + r.stakeCode();
}

StakeTypeRecord stakeRecord(const QString& lineText, int16_t count, float unitValue) {
    StakeTypeRecord r;
    r.setStakeLabel(lineLabel(lineText));
    r.setStakeCode(lineCode(lineText));
    r.setCount(count);
    r.setUnitValue(unitValue);
    return r;
}

namespace {

struct CodeRule {
    const char16_t* code;
    StakeKind kind;
};

// Accounting codes: whole trimmed code for records, trimmed text's ending for grids.
const CodeRule exactCodes[] = {
    {u"jeu", StakeKind::GameTotal},       {u"frai", StakeKind::FeesCode},
    {u"resu", StakeKind::ResultCode},     {u"s/to", StakeKind::SubTotal},
    {u"dedu", StakeKind::Deduction},      {u"bagu", StakeKind::RingsCode},
    {u"tele", StakeKind::TelephoneCode},  {u"s/td", StakeKind::DeductionTotal},
    {u"t/ge", StakeKind::GrandTotal},     {u"2/3", StakeKind::SeriesTwoThree},
    {u"3/3", StakeKind::SeriesThreeThree}, {u"2/2", StakeKind::SeriesTwoTwo},
    {u"4/6", StakeKind::SeriesFourSix},   {u"3/5", StakeKind::SeriesThreeFive},
};

// Endings of the code, in both families.
const CodeRule codeEndings[] = {
    {u"ixt", StakeKind::Mixt},   {u"rem", StakeKind::Prem},
    {u".1", StakeKind::DotOne},  {u".2", StakeKind::DotTwo},
    {u"i.2", StakeKind::RiTwo},  {u".O.", StakeKind::ObligatoryPart},
};

struct LabelRule {
    const char16_t* start;
    StakeKind kind;
};

// Label starts, tested on the first characters of the label as stored.
const LabelRule labelStarts[] = {
    {u"FRAIS", StakeKind::Fees},
    {u"GRATU", StakeKind::Free},
    {u"Bague", StakeKind::Rings},
    {u"télép", StakeKind::Telephone},
    {u"Résultat", StakeKind::Result},
};

// Labels compared whole once the label part is trimmed.
const LabelRule wholeLabels[] = {
    {u"Sér. 2/3", StakeKind::SerTwoThree},
    {u"Sér. 3/5", StakeKind::SerThreeFive},
    {u"Sér. 3/3", StakeKind::SeriesThreeThree},
};

// The tests compare views of the text, so that classifying a line builds no string.
QStringView leftOf(QStringView s, qsizetype n) { return n <= 0 ? QStringView() : s.first(std::min(n, s.size())); }

// upperCase(Left(s, 5)) = "BELGE": only the ASCII letters themselves have those capitals.
bool beginsBelge(QStringView s) {
    static constexpr char16_t belge[] = u"BELGE";
    if (s.size() < 5)
        return false;
    for (int i = 0; i < 5; ++i) {
        const char16_t c = s[i].unicode();
        if (c != belge[i] && c != belge[i] + (u'a' - u'A'))
            return false;
    }
    return true;
}

StakeKinds labelKinds(QStringView label) {
    StakeKinds k;
    if (beginsBelge(label))
        k |= StakeKind::Belge;
    for (const auto& rule : labelStarts)
        if (label.startsWith(QStringView(rule.start)))
            k |= rule.kind;
    return k;
}

// The pool kinds once the line is known to be a pool line.
StakeKinds poolKinds(QStringView code5) {
    StakeKinds k = StakeKind::Poule;
    if (trimView(code5).startsWith(u"AS"))
        k |= StakeKind::PouleAs;
    if (code5.size() >= 3 && code5.at(2) == u'S')
        k |= StakeKind::MarkedPoule;
    return k;
}

StakeKinds storedKinds(QStringView label8, QStringView code5) {
    const QStringView code = trimView(code5);
    const QStringView label = trimView(label8);
    StakeKinds k = labelKinds(label8);
    for (const auto& rule : exactCodes)
        if (code == QStringView(rule.code))
            k |= rule.kind;
    for (const auto& rule : codeEndings)
        if (code.endsWith(QStringView(rule.code)))
            k |= rule.kind;
    for (const auto& rule : wholeLabels)
        if (label == QStringView(rule.start))
            k |= rule.kind;
    if (label == u"Poule")
        k |= poolKinds(code5);
    return k;
}

} // namespace

StakeKinds textKinds(const QString& text) {
    const QStringView lab = trimView(text);
    StakeKinds k = labelKinds(text);
    // The grid tests BELGE on the trimmed text: a label typed with leading blanks counts.
    if (beginsBelge(lab))
        k |= StakeKind::Belge;
    for (const auto& rule : exactCodes)
        if (lab.endsWith(QStringView(rule.code)))
            k |= rule.kind;
    for (const auto& rule : codeEndings)
        if (lab.endsWith(QStringView(rule.code)))
            k |= rule.kind;
    const QStringView head = trimView(leftOf(lab, lab.size() - 4));
    for (const auto& rule : wholeLabels)
        if (head == QStringView(rule.start))
            k |= rule.kind;
    if (trimView(leftOf(lab, 7)) == u"Poule") {
        // Character 11 of the 13-character form is the third of the code.
        k |= poolKinds(QStringView(text).last(std::min<qsizetype>(5, text.size())));
    }
    return k;
}

StakeKinds recordKinds(const QString& label8, const QString& code5) {
    return storedKinds(label8, code5);
}

StakeKinds recordKinds(const StakeTypeRecord& r) {
    // The stored label and code as they read (a zero byte reads as a space). Bytes are
    // taken as their Latin-1 characters: every character the rules look for is ASCII or
    // "é", which Windows-1252 holds at the same place, and the bytes 0x80 to 0x9F stand
    // for none of them either way.
    const QByteArray& bytes = r.bytes();
    char16_t chars[13];
    for (int i = 0; i < 13; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        chars[i] = b == 0 ? u' ' : char16_t(b);
    }
    return storedKinds(QStringView(chars, 8), QStringView(chars + 8, 5));
}

bool isPricedPoolText(const QString& text) {
    return trim(text).startsWith(QStringLiteral("Poule")) &&
           !trim(lineCode(text)).startsWith(QStringLiteral("AS"));
}

QString kindNames(StakeKinds kinds) {
    static const char* const names[] = {
        "Belge",         "DotOne",          "DotTwo",         "RiTwo",
        "Poule",         "PouleAs",         "MarkedPoule",    "SeriesTwoThree",
        "SeriesThreeThree", "SeriesTwoTwo", "SeriesFourSix",  "SeriesThreeFive",
        "SerTwoThree",   "SerThreeFive",    "Mixt",           "Prem",
        "ObligatoryPart", "GameTotal",      "FeesCode",       "Fees",
        "Free",          "ResultCode",      "Result",         "SubTotal",
        "Deduction",     "RingsCode",       "Rings",          "TelephoneCode",
        "Telephone",     "DeductionTotal",  "GrandTotal",
    };
    QStringList out;
    for (int bit = 0; bit < static_cast<int>(std::size(names)); ++bit)
        if (kinds.testFlag(static_cast<StakeKind>(1u << bit)))
            out << QString::fromLatin1(names[bit]);
    return out.join(u'|');
}

} // namespace vt

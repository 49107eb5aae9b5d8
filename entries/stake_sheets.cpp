#include "entries/stake_sheets.h"

#include "common/damage.h"
#include "common/errors.h"
#include "common/numbers.h"
#include "common/record_file.h"
#include "common/text.h"
#include "entries/stake_catalogue.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <limits>

namespace vt {

QString sheetFileName(int slot) {
    return slot <= 0 ? QStringLiteral("cptenl.jeu") : QStringLiteral("gr%1.jeu").arg(slot);
}

QString sheetFilePath(const QString& dataFolder, int slot) {
    return resolveFile(dataFolder, sheetFileName(slot));
}

QString normaliseSheetName(const QString& stored) {
    QString name = upperCase(trim(stored));
    if (!name.isEmpty() && !name.endsWith(u'\\')) {
        // Look backwards from the character before the last for a folder separator.
        const qsizetype cut = name.lastIndexOf(u'\\', name.size() - 2);
        if (cut >= 0)
            name = name.mid(cut + 1);
    }
    if (name.size() > 4 && name.at(name.size() - 4) == u'.')
        name.chop(4);
    return name;
}

QStringList loadSheetNames(const QString& namesPath) {
    RecordFileOf<SheetNameRecord> file(namesPath);
    QStringList names;
    if (!file.exists())
        return names;
    QList<SheetNameRecord> records = file.readAll();
    bool changed = false;
    for (SheetNameRecord& r : records) {
        const QString name = normaliseSheetName(r.sheetName());
        SheetNameRecord normalised = r;
        normalised.setSheetName(name);
        if (!(normalised == r)) {
            r = normalised;
            changed = true;
        }
        names << name;
    }
    if (changed)
        file.rewrite(records);
    return names;
}

int findFreeSlot(const QStringList& names) {
    for (int slot = 0; slot < names.size(); ++slot)
        if (isBlank(names[slot]))
            return slot;
    return static_cast<int>(names.size());
}

void storeSheetName(const QString& namesPath, int slot, const QString& name) {
    SheetNameRecord r;
    r.setSheetName(name); // checks the text before anything is written
    RecordFileOf<SheetNameRecord>(namesPath).write(slot + 1, r);
}

QList<StakeTypeRecord> readSheet(const QString& sheetPath) {
    RecordFileOf<StakeTypeRecord> file(sheetPath);
    file.create();
    return file.readAll();
}

bool SheetRow::isBlank() const { return vt::isBlank(text); }

QString sheetAmountText(double count, double unitValue) { return format2(count * unitValue); }

SheetRow sheetRow(const StakeTypeRecord& r) {
    SheetRow row;
    row.text = loadedLineText(r);
    row.value = unitText(r.unitValue());
    row.count = numberText(static_cast<long long>(r.count()));
    row.amount = format2(static_cast<float>(r.count()) * r.unitValue());
    return row;
}

namespace {

QString notANumber(int gridRow, const QString& text, const char* what = "La valeur") {
    return QStringLiteral("%1 de la ligne %2 n'est pas un nombre : « %3 »")
        .arg(QString::fromUtf8(what))
        .arg(gridRow)
        .arg(trim(text));
}

} // namespace

SheetRecords buildSheetRecords(const QList<SheetRow>& rows) {
    SheetRecords out;
    auto refuse = [&out](int gridRow, int column, const QString& message) {
        out.records.clear();
        out.refusedRow = gridRow;
        out.refusedColumn = column;
        out.refusal = message;
        return out;
    };
    for (int i = 0; i < rows.size(); ++i) {
        const SheetRow& row = rows[i];
        const int gridRow = i + 1;
        if (row.isBlank())
            continue;
        if (out.records.size() == MaxSheetLines)
            return refuse(gridRow, 1,
                          QStringLiteral("Une feuille de jeu ne peut pas avoir plus de %1 lignes.")
                              .arg(MaxSheetLines));
        const QString bad = firstNonCp1252(row.text);
        if (!bad.isEmpty())
            return refuse(gridRow, 1,
                          QStringLiteral("Le texte de la ligne %1 contient un caractère que le "
                                         "programme ne peut pas enregistrer : « %2 »")
                              .arg(gridRow)
                              .arg(bad));
        // A line keeps its first 8 characters as label and its last 5 as code: a longer
        // text would lose the characters between them.
        if (row.text.size() > 14 || (row.text.size() == 14 && row.text.at(8) != u' '))
            return refuse(gridRow, 1,
                          QStringLiteral("Le texte de la ligne %1 est trop long : 8 caractères "
                                         "de libellé, un espace et 5 de code au plus (« %2 »)")
                              .arg(gridRow)
                              .arg(row.text));
        const std::optional<double> value = localeNumber(row.value);
        if (!value)
            return refuse(gridRow, 1, notANumber(gridRow, row.value));
        // A price is an amount from 0 that one stake of fits what a fancier may owe.
        if (!isPossibleStakePrice(*value))
            return refuse(gridRow, 1,
                          QStringLiteral("La valeur de la ligne %1 est hors limites").arg(gridRow));
        // A typed count is read as it always was (its whole part), once it is a number.
        if (parseTyped(row.count).isInvalid())
            return refuse(gridRow, 2, notANumber(gridRow, row.count, "Le nombre"));
        const std::optional<int16_t> count = cint(cellNumber(row.count));
        if (!count)
            return refuse(gridRow, 2,
                          QStringLiteral("Le nombre de la ligne %1 est hors limites").arg(gridRow));
        out.records.append(stakeRecord(row.text, *count, static_cast<float>(*value)));
    }
    return out;
}

EnteredValue enterValue(const QString& lineText, const QString& valueCell, int gridRow) {
    EnteredValue out;
    QString v = valueCell;
    if (textKinds(lineText).testFlag(StakeKind::TelephoneCode))
        v = QStringLiteral("1");
    v.replace(u'.', u',');
    const TypedNumber typed = parseTyped(v);
    if (!typed.isNumber()) {
        out.refusal = notANumber(gridRow, valueCell);
        return out;
    }
    out.value = typedUnitText(typed.value);
    out.text = lineText;
    QString t = trim(lineText);
    if (isPricedPoolText(lineText))
        t = QStringLiteral("Poule  ");
    // An empty row stays empty: it would otherwise become a line of spaces and a price.
    if (!t.isEmpty() && t.size() < 9)
        out.text = padRight(Left(t, 8), 8) + Right(QStringLiteral("    ") + format2(typed.value), 5);
    return out;
}

QString newSheetPrompt(const QStringList& names, int slot) {
    const QString raceSheets =
        QStringLiteral("Les feuilles de jeu des concours viennent après lui : le deuxième "
                       "dossier est le jeu n° 1, le troisième le jeu n° 2, et ainsi de suite.");
    if (slot == 0)
        return QStringLiteral("Ce premier dossier est le fichier des comptes de la société :\n"
                              "il garde ses lignes de comptes (TOTAL du jeu, frais, résultat, "
                              "sous-total, déductions...).\n") +
               raceSheets;
    const bool onlyAccounts =
        !names.isEmpty() && !isBlank(names.first()) &&
        std::all_of(names.begin() + 1, names.end(), [](const QString& n) { return isBlank(n); });
    if (slot == 1 && onlyAccounts)
        return QStringLiteral("Le premier dossier, « %1 », est le fichier des comptes de la "
                              "société : il garde ses lignes de comptes.\n"
                              "Ce nouveau dossier est la première feuille de jeu des concours, "
                              "le jeu n° 1.")
            .arg(trim(names.first()));
    return QString();
}

QString accountsHelpText() {
    const QStringList lines = {
        QStringLiteral("Pour la mémorisation des COMPTES :"),
        QStringLiteral("En premier vous mettez ''TOTAL du jeu''"),
        QStringLiteral("Cela permet d'avoir le total des mises."),
        QStringLiteral("Ensuite vous entrez les frais, feuille, constateurs,résultat etc..."),
        QStringLiteral("puis vous mettez ''S/total  s/to'' c'est ce total qui sera mémorisé dans "
                       "le fichier de l'amateur pour déterminer ce qu'il doit payer."),
        QStringLiteral("Vous continuez en insérant les déductions %, bagues, téléphone etc..."),
        QStringLiteral("puis vous mettez ''Total    s/td''"),
        QStringLiteral("et vous terminez par ''TOTAL    t/ge''"),
        QStringLiteral("Pour les feuilles de jeu entrez les mises dans l'ordre de votre feuille,"),
        QStringLiteral("les totaux et comptes viendront s'ajouter automatiquement."),
    };
    QString text;
    for (int i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i == 7)
            text += QStringLiteral("\n\n");
        else if (i + 1 < lines.size())
            text += u'\n';
    }
    return text;
}

} // namespace vt

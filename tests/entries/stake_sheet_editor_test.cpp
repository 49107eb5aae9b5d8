#include "entries/stake_sheet_editor.h"

#include "common/record_file.h"
#include "common/text.h"
#include "platform/scripted_dialogs.h"
#include "tests/support/club_fixture.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace vt;
using vt::testing::ClubFixture;
using vt::testing::readBytes;
using vt::testing::StakeLineSpec;

namespace {

QString hex(const QByteArray& b) { return QString::fromLatin1(b.toHex(' ')); }

const QList<StakeLineSpec> threeLines = {
    {QStringLiteral("Mise    "), QStringLiteral(" Mise"), 1.5f},
    {QStringLiteral("Pot     "), QStringLiteral("  pot"), 2.0f},
    {QStringLiteral("TOTAL du"), QStringLiteral(" jeu "), 0.0f},
};

struct Editor : ::testing::Test {
    ClubFixture club;
    ScriptedDialogs dialogs;
    StakeSheetEditor editor{club.dataFolder(), club.path("fichenl.jeu"), dialogs};

    QString lastMessage() const { return dialogs.messages().last().text; }
    InputRequest lastInput() const {
        for (auto it = dialogs.asked().rbegin(); it != dialogs.asked().rend(); ++it)
            if (it->kind == AskedQuestion::Input)
                return it->input;
        return {};
    }

    void type(const QString& text) {
        for (QChar c : text)
            editor.keyPress(c.unicode());
        editor.keyPress(13);
    }
    // Catalogue line n (1 to 58) into the current row, priced.
    void addCatalogueLine(int n, const QString& value) {
        editor.catalogueDoubleClick(n - 1);
        type(value);
    }
    QStringList names() {
        QStringList out;
        for (const SheetNameRecord& r : RecordFileOf<SheetNameRecord>(club.path("fichenl.jeu")).readAll())
            out << trim(r.sheetName());
        return out;
    }
    QStringList texts() {
        QStringList out;
        for (const StakeTypeRecord& r : RecordFileOf<StakeTypeRecord>(club.path("gr1.jeu")).readAll())
            out << r.stakeLabel() + r.stakeCode();
        return out;
    }
};

} // namespace

TEST_F(Editor, BuildsASheetFromTheCatalogueByteForByte) {
    club.writeStakeSheet(0, QStringLiteral("COMPTES"), {});
    club.writeStakeSheet(1, QStringLiteral("JEU A"), {});
    editor.load();
    editor.selectSlot(1);
    EXPECT_EQ(editor.caption(), QStringLiteral("gestion des jeux de JEU A"));
    EXPECT_EQ(editor.saveCaption(), QStringLiteral("Mémoriser JEU A"));
    EXPECT_EQ(editor.rows(), 3); // an empty sheet: one empty line and the empty last row

    editor.click(1, 1);
    addCatalogueLine(7, QStringLiteral("1.5"));   // Mise     Mise
    EXPECT_EQ(editor.currentRow(), 1);            // Enter on the last line wraps to row 1
    editor.click(editor.rows() - 1, 1);           // a click on the empty row adds a line
    addCatalogueLine(20, QStringLiteral("2"));    // Poule, priced
    editor.click(editor.rows() - 1, 1);
    addCatalogueLine(44, QStringLiteral(""));     // TOTAL du jeu, blank value becomes 0
    editor.click(editor.rows() - 1, 1);
    addCatalogueLine(53, QStringLiteral("5"));    // telephone, always 1
    EXPECT_EQ(editor.cell(2, 0), QStringLiteral("Poule    2,00"));
    EXPECT_EQ(editor.cell(3, 1), QStringLiteral("0,00"));
    EXPECT_EQ(editor.cell(4, 1), QStringLiteral("1,00"));
    EXPECT_FALSE(editor.quitEnabled());
    EXPECT_EQ(hex(readBytes(club.path("gr1.jeu"))),
              QStringLiteral("4d 69 73 65 20 20 20 20 20 4d 69 73 65 00 00 00 00 c0 3f "
                             "50 6f 75 6c 65 20 20 20 20 32 2c 30 30 00 00 00 00 00 40 "
                             "54 4f 54 41 4c 20 64 75 20 6a 65 75 20 00 00 00 00 00 00 "
                             "74 e9 6c e9 70 68 2e 20 20 74 65 6c 65 00 00 00 00 80 3f"));

    // A count typed into the hidden count column of the Mise line.
    editor.moveTo(1, 2);
    type(QStringLiteral("3"));
    EXPECT_EQ(editor.cell(1, 3), QStringLiteral("4,50"));
    EXPECT_EQ(hex(readBytes(club.path("gr1.jeu")).mid(13, 2)), QStringLiteral("03 00"));

    ASSERT_TRUE(editor.save());
    EXPECT_TRUE(editor.quitEnabled());
    EXPECT_TRUE(editor.nameBoxVisible());
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(Editor, InsertedAndRemovedLinesReachTheFileInGridOrder) {
    club.writeStakeSheet(0, QStringLiteral("COMPTES"), {});
    club.writeStakeSheet(1, QStringLiteral("JEU A"), threeLines);
    editor.load();
    editor.selectSlot(1);
    EXPECT_EQ(editor.rows(), 5);
    EXPECT_TRUE(editor.sheetHasGameTotal());
    EXPECT_EQ(editor.cell(1, 0), QStringLiteral("Mise      Mise"));
    EXPECT_EQ(editor.cell(1, 1), QStringLiteral("1,50"));

    editor.click(1, 1);
    editor.insertLine();
    EXPECT_EQ(editor.focus(), StakeSheetEditor::Focus::Catalogue);
    addCatalogueLine(25, QStringLiteral("1")); // Trio     Trio
    EXPECT_EQ(texts(), QStringList({"Trio     Trio", "Mise     Mise", "Pot       pot",
                                    "TOTAL du jeu "}));

    editor.click(3, 1); // Pot
    editor.doubleClick(3);
    EXPECT_EQ(editor.rows(), 5);
    ASSERT_TRUE(editor.save());
    EXPECT_EQ(texts(), QStringList({"Trio     Trio", "Mise     Mise", "TOTAL du jeu "}));
    EXPECT_EQ(hex(readBytes(club.path("gr1.jeu"))),
              QStringLiteral("54 72 69 6f 20 20 20 20 20 54 72 69 6f 00 00 00 00 80 3f "
                             "4d 69 73 65 20 20 20 20 20 4d 69 73 65 00 00 00 00 c0 3f "
                             "54 4f 54 41 4c 20 64 75 20 6a 65 75 20 00 00 00 00 00 00"));
}

TEST_F(Editor, GridRowsFollowTheClickAndKeyRules) {
    club.writeStakeSheet(0, QStringLiteral("COMPTES"), threeLines);
    editor.load();
    ASSERT_EQ(editor.rows(), 5);
    // A click on the empty last row adds a row and keeps the clicked row as a new line.
    editor.click(4, 1);
    EXPECT_EQ(editor.rows(), 6);
    EXPECT_EQ(editor.currentRow(), 4);
    // A keyboard move onto the empty last row wraps to row 1.
    editor.moveTo(5, 1);
    EXPECT_EQ(editor.currentRow(), 1);
    // Enter on the last line row writes and wraps to row 1; on the empty last row it
    // only goes back to row 1.
    editor.moveTo(4, 1);
    const QByteArray before = readBytes(club.path("cptenl.jeu"));
    editor.keyPress(13);
    EXPECT_EQ(editor.currentRow(), 1);
    EXPECT_EQ(editor.topRow(), 1);
    EXPECT_EQ(readBytes(club.path("cptenl.jeu")), before); // the blank row 4 is left out
    // Esc empties a cell; Backspace drops the last character.
    editor.moveTo(2, 1);
    editor.keyPress('7');
    EXPECT_EQ(editor.cell(2, 1), QStringLiteral("2,007"));
    editor.keyPress(8);
    editor.keyDown(27);
    EXPECT_EQ(editor.cell(2, 1), QString());
    EXPECT_EQ(editor.labelBoxText(), QStringLiteral("Pot        pot"));
    // The label box edits the line text; an emptied box leaves the text.
    editor.labelBoxEdited(QStringLiteral("Pot 2     pot"));
    editor.labelBoxEdited(QString());
    EXPECT_EQ(editor.cell(2, 0), QStringLiteral("Pot 2     pot"));

    // Double-click: a 3-row grid keeps its line, a 2-row grid empties its only line.
    StakeSheetEditor blank(club.dataFolder(), club.path("absent.jeu"), dialogs);
    blank.load();
    ASSERT_EQ(blank.rows(), 2);
    blank.labelBoxEdited(QStringLiteral("Trio     Trio"));
    blank.doubleClick(1);
    EXPECT_EQ(blank.rows(), 2);
    EXPECT_EQ(blank.cell(1, 0), QString());
}

TEST_F(Editor, DoubleClickRemovesALineOnlyInALargerGrid) {
    club.writeStakeSheet(0, QStringLiteral("COMPTES"), {threeLines[0]});
    editor.load();
    ASSERT_EQ(editor.rows(), 3);
    editor.doubleClick(1);
    EXPECT_EQ(editor.rows(), 3);
    EXPECT_EQ(editor.cell(1, 0), QStringLiteral("Mise      Mise"));
}

TEST_F(Editor, ValuesThatAreNotNumbersAndLongSheetsAreRefused) {
    club.writeStakeSheet(0, QStringLiteral("COMPTES"), {});
    club.writeStakeSheet(1, QStringLiteral("JEU A"), threeLines);
    editor.load();
    editor.selectSlot(1);
    const QByteArray before = readBytes(club.path("gr1.jeu"));

    editor.click(2, 1);
    editor.keyDown(46);
    dialogs.answer(MsgAnswer::Ok).answer(MsgAnswer::Ok).answer(MsgAnswer::Ok);
    type(QStringLiteral("1,2x"));
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(lastMessage(),
              QStringLiteral("La valeur de la ligne 2 n'est pas un nombre : « 1,2x »"));
    EXPECT_EQ(editor.currentRow(), 2);
    EXPECT_EQ(editor.cell(2, 1), QStringLiteral("1,2x"));
    EXPECT_FALSE(editor.save());
    EXPECT_EQ(dialogs.messages().size(), 2);
    EXPECT_FALSE(editor.quitEnabled());
    EXPECT_FALSE(editor.mayClose());
    EXPECT_EQ(lastMessage(), QStringLiteral("Mémorisez la feuille avant de quitter."));
    EXPECT_EQ(readBytes(club.path("gr1.jeu")), before);

    // 101 lines: refused by Enter and by "Mémoriser ", the file stays as it was.
    editor.keyDown(46);
    type(QStringLiteral("2"));
    const QByteArray three = readBytes(club.path("gr1.jeu"));
    for (int i = 0; i < 97; ++i) {
        editor.click(editor.rows() - 1, 1);
        addCatalogueLine(7, QStringLiteral("1"));
    }
    EXPECT_EQ(QFile(club.path("gr1.jeu")).size(), 100 * 19);
    const QByteArray hundred = readBytes(club.path("gr1.jeu"));
    editor.click(editor.rows() - 1, 1);
    dialogs.answer(MsgAnswer::Ok).answer(MsgAnswer::Ok);
    addCatalogueLine(8, QStringLiteral("1"));
    ASSERT_EQ(dialogs.messages().size(), 4);
    EXPECT_EQ(lastMessage(),
              QStringLiteral("Une feuille de jeu ne peut pas avoir plus de 100 lignes."));
    EXPECT_FALSE(editor.save());
    EXPECT_EQ(dialogs.messages().size(), 5);
    EXPECT_EQ(readBytes(club.path("gr1.jeu")), hundred);
    EXPECT_NE(three, hundred);
    EXPECT_EQ(dialogs.pendingAnswers(), 0);
}

TEST_F(Editor, DeletingASheetAsksFirstAndKeepsItsFile) {
    club.writeStakeSheet(0, QStringLiteral("COMPTES"), {});
    club.writeStakeSheet(1, QStringLiteral("JEU A"), threeLines);
    club.writeStakeSheet(2, QStringLiteral("JEU B"), {});
    club.writeStakeSheet(3, QStringLiteral("JEU C"), threeLines);
    editor.load();
    editor.selectSlot(3);
    const QByteArray sheet = readBytes(club.path("gr3.jeu"));

    dialogs.answer(MsgAnswer::No);
    editor.deleteSheet();
    ASSERT_EQ(dialogs.messages().size(), 1);
    const MessageRequest q = dialogs.messages()[0];
    EXPECT_EQ(q.text, QStringLiteral("Etes vous sur de vouloir Supprimer JEU C"));
    EXPECT_EQ(q.title, QStringLiteral("SUPPRESION"));
    EXPECT_EQ(q.buttons, MsgButtons::YesNo);
    EXPECT_EQ(q.icon, MsgIcon::Critical);
    EXPECT_EQ(q.defaultButton, MsgAnswer::No);
    EXPECT_EQ(names(), QStringList({"COMPTES", "JEU A", "JEU B", "JEU C"}));
    EXPECT_EQ(editor.rows(), 5);

    dialogs.answer(MsgAnswer::Yes);
    editor.deleteSheet();
    EXPECT_EQ(names(), QStringList({"COMPTES", "JEU A", "JEU B", ""}));
    EXPECT_EQ(readBytes(club.path("fichenl.jeu")).mid(150), QByteArray(50, ' '));
    EXPECT_EQ(readBytes(club.path("gr3.jeu")), sheet);
    EXPECT_EQ(editor.names(), QStringList({"COMPTES", "JEU A", "JEU B", ""}));
    EXPECT_EQ(editor.cell(1, 0), QString());
    EXPECT_FALSE(editor.sheetFile());

    // Enter writes nowhere now; "Mémoriser " empties the deleted slot's file.
    editor.click(1, 1);
    type(QStringLiteral("3"));
    EXPECT_EQ(readBytes(club.path("gr3.jeu")), sheet);
    EXPECT_EQ(readBytes(club.path("gr1.jeu")).size(), 3 * 19);
    ASSERT_TRUE(editor.save());
    EXPECT_EQ(QFile(club.path("gr3.jeu")).size(), 0);

    // The freed slot is the one "Nouveau dossier" names next.
    dialogs.answerInput(QStringLiteral("  jeu d  "));
    editor.newSheet();
    EXPECT_EQ(lastInput().title, QStringLiteral("ENTREZ UN NOUVEAU NOM POUR "));
    EXPECT_EQ(names(), QStringList({"COMPTES", "JEU A", "JEU B", "jeu d"}));
    EXPECT_EQ(editor.currentSlot(), 3);
    EXPECT_EQ(editor.caption(), QStringLiteral("gestion des jeux de jeu d"));
}

TEST_F(Editor, NamingAndRenamingSlots) {
    editor.load(); // no names at all
    EXPECT_EQ(editor.rows(), 2);
    EXPECT_FALSE(editor.deleteVisible());
    EXPECT_FALSE(editor.saveVisible());
    EXPECT_EQ(editor.renameCaption(), QStringLiteral("Ecrivez un NOM dans la lumière"));
    EXPECT_FALSE(editor.sheetFile());
    // A blank slot has no file: Enter shows the row and writes nothing.
    editor.click(1, 1);
    type(QStringLiteral("2"));
    EXPECT_FALSE(QFile::exists(club.path("cptenl.jeu")));

    dialogs.answerInput(QString()); // Cancel changes nothing
    editor.newSheet();
    EXPECT_FALSE(QFile::exists(club.path("fichenl.jeu")));

    dialogs.answerInput(QStringLiteral("Comptes"));
    editor.newSheet();
    EXPECT_EQ(names(), QStringList({"Comptes"}));
    EXPECT_EQ(editor.sheetFile(), club.path("cptenl.jeu"));
    EXPECT_TRUE(QFile::exists(club.path("cptenl.jeu")));

    dialogs.answerInput(QStringLiteral("JEU A"));
    editor.newSheet();
    EXPECT_EQ(editor.currentSlot(), 1);
    EXPECT_EQ(editor.sheetFile(), club.path("gr1.jeu"));

    dialogs.answerInput(QStringLiteral(" Jeu du dimanche "));
    editor.rename();
    EXPECT_EQ(lastInput().title, QStringLiteral("ENTREZ UN NOUVEAU NOM POUR JEU A"));
    EXPECT_EQ(lastInput().defaultAnswer, QStringLiteral("JEU A"));
    EXPECT_EQ(readBytes(club.path("fichenl.jeu")).mid(50),
              (QStringLiteral(" Jeu du dimanche ") + QString(33, u' ')).toLatin1());
    EXPECT_EQ(editor.deleteCaption(), QStringLiteral("Supprimer  Jeu du dimanche "));

    dialogs.answerInput(QStringLiteral("Ωmega")).answer(MsgAnswer::Ok);
    editor.rename();
    EXPECT_EQ(lastMessage(),
              QStringLiteral("Le nom contient un caractère que le programme ne peut pas "
                             "enregistrer : « Ω »"));
    EXPECT_EQ(names(), QStringList({"Comptes", "Jeu du dimanche"}));

    // The next opening normalises the stored names.
    StakeSheetEditor again(club.dataFolder(), club.path("fichenl.jeu"), dialogs);
    again.load();
    EXPECT_EQ(again.names(), QStringList({"COMPTES", "JEU DU DIMANCHE"}));
}

TEST_F(Editor, AccountsHelpShowsItsTenLines) {
    dialogs.answer(MsgAnswer::Ok);
    editor.showAccountsHelp();
    ASSERT_EQ(dialogs.messages().size(), 1);
    const MessageRequest m = dialogs.messages()[0];
    EXPECT_EQ(m.icon, MsgIcon::Exclamation);
    EXPECT_EQ(m.buttons, MsgButtons::Ok);
    EXPECT_TRUE(m.title.isEmpty());
    const QStringList lines = m.text.split(u'\n');
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines[0], QStringLiteral("Pour la mémorisation des COMPTES :"));
    EXPECT_EQ(lines[1], QStringLiteral("En premier vous mettez ''TOTAL du jeu''"));
    EXPECT_TRUE(lines[8].isEmpty());
    EXPECT_EQ(lines[10], QStringLiteral("les totaux et comptes viendront s'ajouter automatiquement."));
}

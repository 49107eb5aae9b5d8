// Scripted dialogs: answers in order, every question recorded, a question nobody
// expected fails; and the program-wide dialogs() before anything is installed.
#include "platform/clock.h"
#include "platform/scripted_dialogs.h"

#include <gtest/gtest.h>

using namespace vt;

TEST(ScriptedDialogs, AnswersEachKindInOrderAndRecordsTheQuestions) {
    ScriptedDialogsScope scope;
    scope->answer(MsgAnswer::No).answerInput(QStringLiteral("12,5")).answer(MsgAnswer::Yes);
    scope->answerFolder(QStringLiteral("/tmp/export")).answerPrinterSetup(false);

    EXPECT_FALSE(dialogs().askYesNo(QStringLiteral("Supprimer cet amateur ?"),
                                    QStringLiteral("Attention"), MsgAnswer::No));
    InputRequest in;
    in.prompt = QStringLiteral("Montant :");
    in.defaultAnswer = QStringLiteral("0");
    EXPECT_EQ(dialogs().input(in), QStringLiteral("12,5"));
    EXPECT_EQ(dialogs().chooseFolder(QStringLiteral("Dossier"), QStringLiteral("/tmp")),
              QStringLiteral("/tmp/export"));
    EXPECT_TRUE(dialogs().askYesNo(QStringLiteral("Retrait ?"), QString(), MsgAnswer::Yes));
    EXPECT_FALSE(dialogs().printerSetup());
    EXPECT_EQ(scope->pendingAnswers(), 0);

    const auto& asked = scope->asked();
    ASSERT_EQ(asked.size(), 5);
    EXPECT_EQ(asked[0].kind, AskedQuestion::Message);
    EXPECT_EQ(asked[0].message.text, QStringLiteral("Supprimer cet amateur ?"));
    EXPECT_EQ(asked[0].message.title, QStringLiteral("Attention"));
    EXPECT_EQ(asked[0].message.buttons, MsgButtons::YesNo);
    EXPECT_EQ(asked[0].message.icon, MsgIcon::Question);
    EXPECT_EQ(asked[0].message.defaultButton, MsgAnswer::No);
    EXPECT_EQ(asked[1].input.prompt, QStringLiteral("Montant :"));
    EXPECT_EQ(asked[1].input.defaultAnswer, QStringLiteral("0"));
    EXPECT_EQ(asked[2].folderTitle, QStringLiteral("Dossier"));
    EXPECT_EQ(asked[2].folderStart, QStringLiteral("/tmp"));
    EXPECT_EQ(asked[3].message.defaultButton, MsgAnswer::Yes);
    EXPECT_EQ(asked[4].kind, AskedQuestion::PrinterSetup);
    ASSERT_EQ(scope->messages().size(), 2);
}

TEST(ScriptedDialogs, AnUnexpectedQuestionFailsAndIsRecorded) {
    ScriptedDialogsScope scope;
    scope->answerInput(QStringLiteral("x"));
    try {
        dialogs().inform(QStringLiteral("Fichier introuvable"));
        FAIL() << "no exception";
    } catch (const UnexpectedDialog& e) {
        EXPECT_NE(std::string(e.what()).find("Fichier introuvable"), std::string::npos);
    }
    ASSERT_EQ(scope->asked().size(), 1);
    EXPECT_EQ(scope->asked()[0].message.icon, MsgIcon::Information);
    EXPECT_EQ(scope->asked()[0].message.buttons, MsgButtons::Ok);
    EXPECT_EQ(scope->pendingAnswers(), 1); // the input answer is left for an input box
}

TEST(Dialogs, NothingInstalledFailsLoudlyAndScopesRestoreWhatWasThere) {
    EXPECT_THROW(dialogs().inform(QStringLiteral("oubli")), UnexpectedDialog);
    EXPECT_THROW(dialogs().input({}), UnexpectedDialog);
    {
        ScriptedDialogsScope outer;
        outer->answer(MsgAnswer::Ok);
        {
            ScriptedDialogsScope inner;
            EXPECT_THROW(dialogs().inform(QStringLiteral("a")), UnexpectedDialog);
        }
        dialogs().inform(QStringLiteral("b"));
        EXPECT_EQ(outer->asked().size(), 1);
    }
    EXPECT_THROW(dialogs().printerSetup(), UnexpectedDialog);
}

TEST(Clock, TestsFixTheDateAndGoBackToTheSystemClock) {
    setClockForTests([] { return QDateTime(QDate(2005, 4, 17), QTime(9, 30)); });
    EXPECT_EQ(today(), QDate(2005, 4, 17));
    EXPECT_EQ(now().time(), QTime(9, 30));
    setClockForTests({});
    EXPECT_GE(today().year(), 2024);
}

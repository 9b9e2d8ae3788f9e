// The scripted window system: answers in order per kind of dialog, cancels
// when its script runs out, and records what it was shown.
#include "platform/ScriptedWindowSystem.h"
#include "platform/WindowSystemUtil.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <thread>

TEST(WindowSystemScripted, RecordsAMessageWithItsOwnerCaptionAndButtons)
{
    ScriptedWindowSystem ws;
    QWidget main;
    EXPECT_EQ(ws.MessageBox(&main, QStringLiteral("Plz increase the delay"), QString(), MB_OK | MB_ICONEXCLAMATION),
              IDOK);
    const auto shown = ws.Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, DialogKind::MessageBox);
    EXPECT_EQ(shown[0].owner, &main);
    EXPECT_EQ(shown[0].text, QStringLiteral("Plz increase the delay"));
    EXPECT_EQ(shown[0].caption, QString());
    EXPECT_EQ(shown[0].shownCaption, kAppTitle);
    EXPECT_EQ(shown[0].type, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(shown[0].result, IDOK);
}

TEST(WindowSystemScripted, OwnerlessMessageShowsTheDefaultCaption)
{
    ScriptedWindowSystem ws;
    ws.MessageBox(nullptr, QStringLiteral("No picture selected"), QString(), MB_OKCANCEL);
    ASSERT_EQ(ws.Shown().size(), 1u);
    EXPECT_EQ(ws.Shown()[0].owner, nullptr);
    EXPECT_EQ(ws.Shown()[0].shownCaption, QStringLiteral("Error"));
}

TEST(WindowSystemScripted, QuestionsTakeTheAnswersInOrderThenCancel)
{
    ScriptedWindowSystem ws;
    ws.QueueMessageBoxAnswer(IDOK);
    ws.QueueMessageBoxAnswer(IDCANCEL);
    ws.QueueMessageBoxAnswer(IDOK);
    EXPECT_EQ(ws.MessageBox(nullptr, QStringLiteral("q1"), QString(), MB_OKCANCEL), IDOK);
    EXPECT_EQ(ws.MessageBox(nullptr, QStringLiteral("q2"), QString(), MB_OKCANCEL | MB_ICONQUESTION), IDCANCEL);
    EXPECT_EQ(ws.MessageBox(nullptr, QStringLiteral("q3"), QString(), MB_OKCANCEL), IDOK);
    EXPECT_EQ(ws.MessageBox(nullptr, QStringLiteral("q4"), QString(), MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(ws.MessageTexts(), (QStringList{"q1", "q2", "q3", "q4"}));
}

TEST(WindowSystemScripted, OkOnlyBoxesAnswerOkAndLeaveTheAnswersForQuestions)
{
    ScriptedWindowSystem ws;
    ws.QueueMessageBoxAnswer(IDCANCEL);
    EXPECT_EQ(ws.MessageBox(nullptr, QStringLiteral("info"), QString(), MB_OK), IDOK);
    EXPECT_EQ(ws.PendingAnswers(DialogKind::MessageBox), 1u);
    EXPECT_EQ(ws.MessageBox(nullptr, QStringLiteral("question"), QString(), MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(ws.PendingAnswers(DialogKind::MessageBox), 0u);
}

TEST(WindowSystemScripted, AnswerOtherThanOkCountsAsCancel)
{
    ScriptedWindowSystem ws;
    ws.QueueMessageBoxAnswer(7);
    EXPECT_EQ(ws.MessageBox(nullptr, QStringLiteral("q"), QString(), MB_OKCANCEL), IDCANCEL);
}

TEST(WindowSystemScripted, OpenChoicesComeInOrderAndAnEmptyScriptCancels)
{
    ScriptedWindowSystem ws;
    ws.QueueOpenFiles({QStringLiteral("/p/c.bmp"), QStringLiteral("/p/a.bmp")});
    ws.QueueOpenFiles({});
    ws.QueueOpenFiles({QStringLiteral("/p/b.bmp")});
    QWidget owner;
    EXPECT_EQ(ws.GetOpenFileNames(nullptr, kBitmapFilter, true), (QStringList{"/p/c.bmp", "/p/a.bmp"}));
    EXPECT_EQ(ws.GetOpenFileNames(&owner, kBitmapFilter, true), QStringList{});
    EXPECT_EQ(ws.GetOpenFileNames(nullptr, kBitmapFilter, false), QStringList{"/p/b.bmp"});
    EXPECT_EQ(ws.GetOpenFileNames(nullptr, kBitmapFilter, false), QStringList{});

    const auto shown = ws.Shown(DialogKind::OpenFile);
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_TRUE(shown[0].multiSelect);
    EXPECT_EQ(shown[0].filter, kBitmapFilter);
    EXPECT_EQ(shown[0].result, IDOK);
    EXPECT_EQ(shown[1].owner, &owner);
    EXPECT_EQ(shown[1].result, IDCANCEL);
    EXPECT_FALSE(shown[2].multiSelect);
    EXPECT_EQ(shown[3].result, IDCANCEL);
}

TEST(WindowSystemScripted, SingleChoiceReportsOnlyTheFirstFile)
{
    ScriptedWindowSystem ws;
    ws.QueueOpenFiles({QStringLiteral("/p/a.bmp"), QStringLiteral("/p/b.bmp")});
    EXPECT_EQ(ws.GetOpenFileNames(nullptr, kBitmapFilter, false), QStringList{"/p/a.bmp"});
}

TEST(WindowSystemScripted, ChoiceTooLongForTheBufferFailsAsCancel)
{
    ScriptedWindowSystem ws;
    QStringList many;
    for (int i = 0; i < 40; ++i)
        many.append(QStringLiteral("/pictures/slide%1.bmp").arg(i));
    ws.QueueOpenFiles(many);
    EXPECT_TRUE(ws.GetOpenFileNames(nullptr, kBitmapFilter, true).isEmpty());
    EXPECT_EQ(ws.Shown()[0].result, IDCANCEL);
}

TEST(WindowSystemScripted, SaveRecordsTheDefaultExtensionAndAnswersInOrder)
{
    ScriptedWindowSystem ws;
    ws.QueueSaveFile(QStringLiteral("/tmp/out.bmp"));
    ws.QueueSaveFile(std::nullopt);
    EXPECT_EQ(ws.GetSaveFileName(nullptr, kBitmapFilter, QStringLiteral("bmp")), QStringLiteral("/tmp/out.bmp"));
    EXPECT_EQ(ws.GetSaveFileName(nullptr, kBitmapFilter, QStringLiteral("bmp")), std::nullopt);
    EXPECT_EQ(ws.GetSaveFileName(nullptr, kBitmapFilter, QStringLiteral("bmp")), std::nullopt);
    const auto shown = ws.Shown(DialogKind::SaveFile);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].defaultExt, QStringLiteral("bmp"));
    EXPECT_EQ(shown[0].files, QStringList{"/tmp/out.bmp"});
    EXPECT_EQ(shown[1].result, IDCANCEL);
}

TEST(WindowSystemScripted, ColourChooserRecordsTheInitialColourAndAnswers)
{
    ScriptedWindowSystem ws;
    ws.QueueColor(RGB(255, 0, 0));
    ws.QueueColor(std::nullopt);
    EXPECT_EQ(ws.ChooseColor(nullptr, RGB(1, 2, 3)), std::optional<COLORREF>(RGB(255, 0, 0)));
    EXPECT_EQ(ws.ChooseColor(nullptr, 0), std::nullopt);
    EXPECT_EQ(ws.ChooseColor(nullptr, 0), std::nullopt);
    const auto shown = ws.Shown(DialogKind::Color);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].initialColor, RGB(1, 2, 3));
    EXPECT_EQ(shown[0].result, IDOK);
    EXPECT_EQ(shown[1].result, IDCANCEL);
}

TEST(WindowSystemScripted, ColourAnswersAreRgbOnly)
{
    ScriptedWindowSystem ws;
    ws.QueueColor(0xFF123456u);
    EXPECT_EQ(ws.ChooseColor(nullptr, 0), std::optional<COLORREF>(0x00123456u));
}

TEST(WindowSystemScripted, FontChooserWritesTheChoiceOnlyOnOk)
{
    ScriptedWindowSystem ws;
    LOGFONT chosen{};
    chosen.lfHeight = -21;
    chosen.lfWeight = FW_BOLD;
    chosen.lfItalic = 255;
    SetFaceName(chosen, QStringLiteral("Arial"));
    ws.QueueFont(chosen);
    ws.QueueFont(std::nullopt);

    LOGFONT lf{};
    lf.lfHeight = -16;
    SetFaceName(lf, QStringLiteral("Times New Roman"));
    const LOGFONT start = lf;
    EXPECT_TRUE(ws.ChooseFont(nullptr, lf));
    EXPECT_EQ(lf, chosen);
    const LOGFONT afterOk = lf;
    EXPECT_FALSE(ws.ChooseFont(nullptr, lf));
    EXPECT_EQ(lf, afterOk);
    EXPECT_FALSE(ws.ChooseFont(nullptr, lf));

    const auto shown = ws.Shown(DialogKind::Font);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].initialFont, start);
    EXPECT_EQ(shown[0].font, chosen);
    EXPECT_EQ(shown[1].initialFont, chosen);
    EXPECT_EQ(shown[1].result, IDCANCEL);
}

TEST(WindowSystemScripted, RecordKeepsTheOrderAcrossKinds)
{
    ScriptedWindowSystem ws;
    ws.ChooseColor(nullptr, 0);
    ws.MessageBox(nullptr, QStringLiteral("m"), QString(), MB_OK);
    ws.GetSaveFileName(nullptr, kBitmapFilter, QString());
    const auto shown = ws.Shown();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].kind, DialogKind::Color);
    EXPECT_EQ(shown[1].kind, DialogKind::MessageBox);
    EXPECT_EQ(shown[2].kind, DialogKind::SaveFile);
    EXPECT_EQ(ws.Shown(DialogKind::Font).size(), 0u);
}

TEST(WindowSystemScripted, ResetForgetsRecordAndScript)
{
    ScriptedWindowSystem ws;
    ws.QueueMessageBoxAnswer(IDOK);
    ws.QueueColor(RGB(1, 1, 1));
    ws.MessageBox(nullptr, QStringLiteral("m"), QString(), MB_OK);
    ws.Reset();
    EXPECT_TRUE(ws.Shown().empty());
    EXPECT_EQ(ws.PendingAnswers(DialogKind::MessageBox), 0u);
    EXPECT_EQ(ws.PendingAnswers(DialogKind::Color), 0u);
    EXPECT_EQ(ws.MessageBox(nullptr, QStringLiteral("q"), QString(), MB_OKCANCEL), IDCANCEL);
}

TEST(WindowSystemScripted, MessagesFromSeveralThreadsAreAllRecorded)
{
    ScriptedWindowSystem ws;
    constexpr int kPerThread = 200;
    auto worker = [&ws](const QString& text) {
        for (int i = 0; i < kPerThread; ++i)
            ws.MessageBox(nullptr, text, QString(), MB_OK);
    };
    std::thread a(worker, QStringLiteral("a"));
    std::thread b(worker, QStringLiteral("b"));
    a.join();
    b.join();
    const QStringList texts = ws.MessageTexts();
    EXPECT_EQ(texts.size(), 2 * kPerThread);
    EXPECT_EQ(texts.count(QStringLiteral("a")), kPerThread);
}

TEST(WindowSystemScripted, InstalledScriptAnswersTheProgramsCalls)
{
    ScriptedWindowSystem ws;
    const ScopedWindowSystem use(ws);
    ws.QueueMessageBoxAnswer(IDOK);
    EXPECT_EQ(WindowSystem().MessageBox(nullptr, QStringLiteral("continue?"), kAppTitle, MB_OKCANCEL), IDOK);
    EXPECT_EQ(ws.MessageTexts(), QStringList{"continue?"});
}
